# Run by CPack on the staged copies of the programs, before they are zipped.
# Signs each with Authenticode (SHA-256) when the environment names a
# certificate: SIGNING_PFX, a PKCS#12 file, and SIGNING_PASSWORD_FILE, a file
# holding its password, which osslsigncode reads itself so that the password
# appears on no command line. SIGNING_TIMESTAMP_URL, if set, names an RFC 3161
# time-stamping service, which keeps the signatures valid after the
# certificate expires. The programs in bin/ stay as built.
set(pfx "$ENV{SIGNING_PFX}")
set(password_file "$ENV{SIGNING_PASSWORD_FILE}")
if(pfx STREQUAL "" AND password_file STREQUAL "")
  message(STATUS "The programs are not signed: set SIGNING_PFX and SIGNING_PASSWORD_FILE to sign them")
  return()
endif()
# A failure below leaves no earlier package behind to be taken for this one.
file(REMOVE "${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip")
# Half a certificate is a mistake, not a wish for an unsigned release.
if(pfx STREQUAL "" OR password_file STREQUAL "")
  message(FATAL_ERROR "Signing needs both SIGNING_PFX and SIGNING_PASSWORD_FILE")
endif()

find_program(OSSLSIGNCODE osslsigncode REQUIRED)
set(timestamp "")
if(NOT "$ENV{SIGNING_TIMESTAMP_URL}" STREQUAL "")
  set(timestamp -ts "$ENV{SIGNING_TIMESTAMP_URL}")
endif()

file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.exe")
set(signed "")
foreach(program IN LISTS programs)
  get_filename_component(name ${program} NAME)
  file(REMOVE ${program}.signed)
  execute_process(
    COMMAND ${OSSLSIGNCODE} sign -pkcs12 "${pfx}" -readpass "${password_file}" -h sha256
            ${timestamp} -in "${program}" -out "${program}.signed"
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    file(REMOVE ${program}.signed)
    message(FATAL_ERROR "Signing ${name} with ${pfx} failed:\n${output}")
  endif()
  file(RENAME ${program}.signed ${program})
  list(APPEND signed ${name})
endforeach()
list(JOIN signed ", " signed)
message(STATUS "Signed ${signed} with ${pfx}")
