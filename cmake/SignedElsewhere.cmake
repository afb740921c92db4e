# Included by SignPrograms.cmake when SIGNED_PROGRAMS_DIR names a folder that
# holds this build's programs signed elsewhere: on Windows with SignTool, for a
# signing service that offers no PKCS#11 library. Each staged program is
# replaced by its signed copy once that copy
# - carries Authenticode signatures that verify, each with a time-stamp that
#   verifies, against the authorities in SIGNED_PROGRAMS_CAFILE (PEM) or,
#   without it, the system's;
# - is, with its signatures removed, byte for byte the program this build
#   made. Removing them takes the certificate table off the end and computes
#   the PE checksum again, which the linker wrote right; the programs end on
#   their 512-byte file alignment, so signing added no padding that would stay.
#   Any difference left is another program.
# The first copy that fails a check fails the build.
find_program(OSSLSIGNCODE osslsigncode REQUIRED)
set(folder "$ENV{SIGNED_PROGRAMS_DIR}")
set(trust "")
set(trusted "the system's authorities (SIGNED_PROGRAMS_CAFILE names others)")
if(NOT "$ENV{SIGNED_PROGRAMS_CAFILE}" STREQUAL "")
  set(trust -CAfile "$ENV{SIGNED_PROGRAMS_CAFILE}" -TSA-CAfile "$ENV{SIGNED_PROGRAMS_CAFILE}")
  set(trusted "the authorities in $ENV{SIGNED_PROGRAMS_CAFILE}")
endif()

file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.exe")
set(taken "")
foreach(program IN LISTS programs)
  get_filename_component(name ${program} NAME)
  set(copy "${folder}/${name}")
  if(NOT EXISTS "${copy}")
    message(FATAL_ERROR "SIGNED_PROGRAMS_DIR has no ${name}: ${copy} is not there")
  endif()

  execute_process(
    COMMAND ${OSSLSIGNCODE} verify ${trust} -in "${copy}"
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${copy} carries no signature that verifies against ${trusted}:\n"
                        "${output}")
  endif()
  # osslsigncode accepts a signature whose time-stamp is missing or fails; a
  # release may not.
  string(REGEX MATCHALL "Timestamp Server Signature verification: ok" stamps "${output}")
  list(LENGTH stamps stamped)
  string(REGEX MATCH "Number of verified signatures: ([0-9]+)" counted "${output}")
  if(NOT counted OR NOT stamped EQUAL CMAKE_MATCH_1)
    message(FATAL_ERROR "${copy} is signed without a time-stamp that verifies against "
                        "${trusted}: its signature would stop being valid when the certificate "
                        "expires. Sign it with a time-stamping service (SignTool's /tr and "
                        "/td sha256)\n${output}")
  endif()

  execute_process(
    COMMAND ${OSSLSIGNCODE} remove-signature -in "${copy}" -out "${program}.unsigned"
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${program}" "${program}.unsigned"
                  RESULT_VARIABLE different OUTPUT_QUIET ERROR_QUIET)
  file(REMOVE "${program}.unsigned")
  if(NOT result EQUAL 0 OR different)
    message(FATAL_ERROR "${copy} is not the ${name} that this build made, once its signature is "
                        "removed: sign the programs of this build's bin folder\n${output}")
  endif()
  file(COPY_FILE "${copy}" "${program}")
  list(APPEND taken ${name})
endforeach()
list(JOIN taken ", " taken)
message(STATUS "Took ${taken} signed elsewhere from ${folder}: each signature and its "
               "time-stamp verified, each program the one built")
