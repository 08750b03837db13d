# Read by CPack once per generator: the ZIP unpacks into one folder, Lumetra-VERSION-win64, that
# holds the program and its folders; the installer is named as such beside it.
if(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
elseif(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
