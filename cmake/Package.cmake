# The release package: what a school copies into its server folder, the three
# programs and the administrator's guide as one HTML page with its pictures
# inside. `cmake --build --preset windows --target package` makes
# BrowserLauncher-<version>.zip in the build folder, its programs signed when
# the environment names a signing key (cmake/SignPrograms.cmake).
if(NOT WIN32)
  return()
endif()

set(guide ${PROJECT_SOURCE_DIR}/docs/administrator-guide.md)
set(guide_page "${PROJECT_BINARY_DIR}/Administrator's Guide.html")
file(GLOB screenshots CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/screenshots/*.png)
add_custom_command(
  OUTPUT ${guide_page}
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/guide-to-html.py ${guide} ${guide_page}
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/guide-to-html.py ${guide} ${screenshots}
  COMMENT "Writing the administrator's guide as one HTML page"
  VERBATIM)
add_custom_target(administrator_guide ALL DEPENDS ${guide_page})

install(TARGETS internet setup netswitch RUNTIME DESTINATION .)
install(FILES ${guide_page} DESTINATION .)

# What each program's signature calls it: its description, by file name. The
# product's web address is CPACK_PACKAGE_HOMEPAGE_URL, the project's.
foreach(program internet setup netswitch)
  get_target_property(name ${program} OUTPUT_NAME)
  get_target_property(CPACK_SIGNED_DESCRIPTION_${name}.exe ${program} PROGRAM_DESCRIPTION)
endforeach()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/SignPrograms.cmake)
include(CPack)
