# Boost is used header-only. For the cross build the include directory must hold nothing but
# boost/, never all of /usr/include, so we point at a folder with a single link to Debian's headers.
set(LUMETRA_BOOST_ROOT /usr/include/boost CACHE PATH "Folder of Boost's headers")
set(LUMETRA_BOOST_INCLUDE ${CMAKE_BINARY_DIR}/boost-include)
if(NOT EXISTS ${LUMETRA_BOOST_INCLUDE}/boost)
  file(MAKE_DIRECTORY ${LUMETRA_BOOST_INCLUDE})
  file(CREATE_LINK ${LUMETRA_BOOST_ROOT} ${LUMETRA_BOOST_INCLUDE}/boost SYMBOLIC)
endif()
add_library(lumetra_boost INTERFACE)
target_include_directories(lumetra_boost SYSTEM INTERFACE ${LUMETRA_BOOST_INCLUDE})
# The core's texts are UTF-8: Boost.System gives the Windows error texts in UTF-8 too, not in the
# ANSI code page.
target_compile_definitions(lumetra_boost INTERFACE BOOST_SYSTEM_USE_UTF8)

if(LUMETRA_BUILD_TESTS)
  # GoogleTest from source for every build, so that the cross build has it too.
  set(LUMETRA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source folder")
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${LUMETRA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
