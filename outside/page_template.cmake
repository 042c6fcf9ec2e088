# The page template, copied into the program folder's resources/ (again whenever it changes).
configure_file(${CMAKE_CURRENT_LIST_DIR}/players/template.htm
  ${PROGRAM_RESOURCES_DIR}/template.htm COPYONLY)
