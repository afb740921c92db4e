# add_windows_program(target OUTPUT_NAME name DESCRIPTION text ICON file
#                     EXECUTION_LEVEL asInvoker|highestAvailable
#                     [PICTURES file...] SOURCES ... LIBRARIES ...)
# One static GUI exe in bin/, with its icon (resource 1), further icons for
# its pictures (resources 2, 3, ...), manifest and version information; the
# version comes from the project's. All icons go into one resource script, as
# separate scripts would number their images alike. The description is also
# the target's PROGRAM_DESCRIPTION, for the signature of the released copy.
function(add_windows_program target)
  cmake_parse_arguments(PROGRAM "" "OUTPUT_NAME;DESCRIPTION;ICON;EXECUTION_LEVEL"
                        "PICTURES;SOURCES;LIBRARIES" ${ARGN})
  set(PROGRAM_TARGET ${target})
  set(PROGRAM_PICTURE_RESOURCES "")
  set(id 2)
  foreach(picture ${PROGRAM_PICTURES})
    string(APPEND PROGRAM_PICTURE_RESOURCES "${id} ICON \"${picture}\"\n")
    math(EXPR id "${id} + 1")
  endforeach()
  set(PROGRAM_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/program.manifest.in ${PROGRAM_MANIFEST} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/program.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  add_executable(${target} WIN32 ${PROGRAM_SOURCES} ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  target_link_libraries(${target} PRIVATE ${PROGRAM_LIBRARIES})
  if(MINGW)
    target_link_options(${target} PRIVATE -municode)
  endif()
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${PROGRAM_OUTPUT_NAME}
    PROGRAM_DESCRIPTION "${PROGRAM_DESCRIPTION}"
    RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
  set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc APPEND PROPERTY
               OBJECT_DEPENDS ${PROGRAM_MANIFEST} ${PROGRAM_ICON} ${PROGRAM_PICTURES})
endfunction()
