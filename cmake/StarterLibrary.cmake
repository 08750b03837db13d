# The starter library: demo pictures (Images/) and a filter pack (Filters/, one subfolder a tab of
# the image browser), drawn by scripts/make_starter_library.py into the build folder, and the
# guide's demonstration picture docs/demo.bmp in Images/. The packages install them beside the
# program; the unit tests read them, and the guide's examples run on them.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
set(LUMETRA_STARTER_DIR ${CMAKE_BINARY_DIR}/starter)
set(starter_script ${PROJECT_SOURCE_DIR}/scripts/make_starter_library.py)
add_custom_command(
  OUTPUT ${LUMETRA_STARTER_DIR}/made
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${LUMETRA_STARTER_DIR}/Images ${LUMETRA_STARTER_DIR}/Filters
  COMMAND ${Python3_EXECUTABLE} ${starter_script} ${LUMETRA_STARTER_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/demo.bmp ${LUMETRA_STARTER_DIR}/Images/
  COMMAND ${CMAKE_COMMAND} -E touch ${LUMETRA_STARTER_DIR}/made
  DEPENDS ${starter_script} ${PROJECT_SOURCE_DIR}/docs/demo.bmp
  COMMENT "Drawing the starter library"
  VERBATIM)
add_custom_target(starter_library ALL DEPENDS ${LUMETRA_STARTER_DIR}/made)
