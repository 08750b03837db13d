# What a user gets: the program, the two batch tools, the HTML guide and the starter library, in
# a portable ZIP and an NSIS installer (scripts/package.sh makes both into build/packages/).
# Nothing else is installed: no test program, no test hook.

# CPack builds nothing itself: scripts/package.sh builds the targets below first, so packaging
# does not wait for every test of the build.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS Lumetra lumetra-render lumetra-edit lumetra-analyze RUNTIME DESTINATION .)
install(DIRECTORY ${LUMETRA_STARTER_DIR}/Images ${LUMETRA_STARTER_DIR}/Filters DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/packaging/README.txt DESTINATION .)

# The user guide as scripts/package.sh assembled it.
set(LUMETRA_GUIDE_DIR "" CACHE PATH "Folder of the assembled HTML user guide (packaged as guide/)")
if(LUMETRA_GUIDE_DIR)
  install(DIRECTORY ${LUMETRA_GUIDE_DIR}/ DESTINATION guide)
endif()

set(CPACK_PACKAGE_NAME Lumetra)
set(CPACK_PACKAGE_VENDOR Velloforge)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "An image editor whose pictures are sounds")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Lumetra-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Lumetra)
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_SOURCE_DIR}/build/packages)
# The programs without their debugging information.
set(CPACK_STRIP_FILES ON)
# Our own installer script (cmake/packaging/NSIS.template.in): per user, no administrator.
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/packaging)
set(CPACK_NSIS_UNINSTALL_NAME Uninstall)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/resources/icons/lumetra.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/src/resources/icons/lumetra.ico)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/packaging/per_generator.cmake)
include(CPack)
