# Run by CPack on the staged copies of the programs, before they are zipped.
# Signs each with Authenticode (SHA-256) when the environment names a key, in
# one of two ways:
# - a PKCS#12 file: SIGNING_PFX, and SIGNING_PASSWORD_FILE, a file holding
#   its password;
# - a key held in a PKCS#11 module (a USB token, a hardware security module,
#   a cloud signing service): SIGNING_PKCS11_MODULE, the module's library,
#   SIGNING_KEY, the key as a pkcs11: URI, SIGNING_CERTS, its certificate and
#   chain as PEM, and SIGNING_PIN_FILE, a file holding the PIN. osslsigncode
#   asks the module to sign through OpenSSL's pkcs11 engine; the key never
#   leaves it.
# osslsigncode reads the password or PIN from its file itself, so that it
# appears on no command line and in no output. SIGNING_TIMESTAMP_URL names an
# RFC 3161 time-stamping service, which keeps the signatures valid after the
# certificate expires; without one the build fails, unless
# SIGNING_NO_TIMESTAMP=1 asks on purpose for signatures that die with their
# certificate (a test build). Each signature carries the program's description
# and the product's web address, which Windows shows when UAC asks and in the
# file's properties. The programs in bin/ stay as built.
#
# Or SIGNED_PROGRAMS_DIR names a folder of the programs of this build signed
# elsewhere, which are checked and packed instead (SignedElsewhere.cmake).
set(pkcs12_variables SIGNING_PFX SIGNING_PASSWORD_FILE)
set(pkcs11_variables SIGNING_PKCS11_MODULE SIGNING_KEY SIGNING_CERTS SIGNING_PIN_FILE)

# Sets `set` to those of the variables after it that the environment names,
# and `unset` to the others.
function(split_by_environment set unset)
  set(named "")
  set(missing "")
  foreach(variable IN LISTS ARGN)
    if("$ENV{${variable}}" STREQUAL "")
      list(APPEND missing ${variable})
    else()
      list(APPEND named ${variable})
    endif()
  endforeach()
  set(${set} ${named} PARENT_SCOPE)
  set(${unset} ${missing} PARENT_SCOPE)
endfunction()

split_by_environment(pkcs12 pkcs12_missing ${pkcs12_variables})
split_by_environment(pkcs11 pkcs11_missing ${pkcs11_variables})
split_by_environment(elsewhere not_elsewhere SIGNED_PROGRAMS_DIR)
if(NOT pkcs12 AND NOT pkcs11 AND NOT elsewhere)
  message(STATUS "The programs are not signed: set SIGNING_PFX and SIGNING_PASSWORD_FILE, or "
                 "SIGNING_PKCS11_MODULE, SIGNING_KEY, SIGNING_CERTS and SIGNING_PIN_FILE, "
                 "to sign them, or SIGNED_PROGRAMS_DIR to take them signed elsewhere")
  return()
endif()
# A failure below leaves no earlier package behind to be taken for this one.
file(REMOVE "${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip")

# Half a key is a mistake, not a wish for an unsigned release; two keys, or a
# key and programs signed elsewhere, are one too many.
if(elsewhere)
  if(pkcs12 OR pkcs11)
    set(keys ${pkcs12} ${pkcs11})
    list(JOIN keys ", " keys)
    message(FATAL_ERROR "SIGNED_PROGRAMS_DIR takes programs signed elsewhere, which are not "
                        "signed again: unset either it or ${keys}")
  endif()
  include(${CMAKE_CURRENT_LIST_DIR}/SignedElsewhere.cmake)
  return()
endif()
if(pkcs12 AND pkcs11)
  list(JOIN pkcs12 ", " pkcs12)
  list(JOIN pkcs11 ", " pkcs11)
  message(FATAL_ERROR "Signing takes a PKCS#12 file or a PKCS#11 module, not both: "
                      "unset either ${pkcs12} or ${pkcs11}")
endif()
if(pkcs12)
  set(way "with a PKCS#12 file")
  set(missing ${pkcs12_missing})
else()
  set(way "through a PKCS#11 module")
  set(missing ${pkcs11_missing})
endif()
if(missing)
  list(JOIN missing " and " missing)
  message(FATAL_ERROR "Signing ${way} also needs ${missing}")
endif()

if(pkcs12)
  set(key -pkcs12 "$ENV{SIGNING_PFX}" -readpass "$ENV{SIGNING_PASSWORD_FILE}")
  set(signer "$ENV{SIGNING_PFX}")
else()
  # A PIN in the URI would reach the command line; the URI is shown, the PIN never.
  if("$ENV{SIGNING_KEY}" MATCHES "[;?]pin-value=")
    message(FATAL_ERROR "SIGNING_KEY carries a PIN: "
                        "put it only in the file that SIGNING_PIN_FILE names")
  endif()
  # The URI's semicolons separate its attributes, not arguments.
  string(REPLACE ";" "\\;" uri "$ENV{SIGNING_KEY}")
  set(key -pkcs11module "$ENV{SIGNING_PKCS11_MODULE}" -key "${uri}"
          -certs "$ENV{SIGNING_CERTS}" -readpass "$ENV{SIGNING_PIN_FILE}")
  set(signer "$ENV{SIGNING_KEY} in $ENV{SIGNING_PKCS11_MODULE}")
endif()

# A signature without a time-stamp stops being valid when its certificate
# expires, and code-signing certificates last little more than a year: the
# programs would then be refused on every PC they sit on.
set(timestamp_url "$ENV{SIGNING_TIMESTAMP_URL}")
set(no_timestamp "$ENV{SIGNING_NO_TIMESTAMP}")
if(timestamp_url STREQUAL "" AND NOT no_timestamp STREQUAL "1")
  message(FATAL_ERROR "Signing needs SIGNING_TIMESTAMP_URL, the RFC 3161 time-stamping service "
                      "that the certificate's issuer names: without a time-stamp the signatures "
                      "stop being valid when the certificate expires. For a test build, "
                      "SIGNING_NO_TIMESTAMP=1 signs without one on purpose")
elseif(NOT timestamp_url STREQUAL "" AND no_timestamp STREQUAL "1")
  message(FATAL_ERROR "SIGNING_NO_TIMESTAMP=1 and SIGNING_TIMESTAMP_URL ask for opposite things: "
                      "unset one of them")
endif()
set(timestamp -ts "${timestamp_url}")
set(stamped "")
if(timestamp_url STREQUAL "")
  set(timestamp "")
  set(stamped ", without a time-stamp: the signatures end with the certificate")
endif()

find_program(OSSLSIGNCODE osslsigncode REQUIRED)

file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.exe")
set(signed "")
foreach(program IN LISTS programs)
  get_filename_component(name ${program} NAME)
  file(REMOVE ${program}.signed)
  # The first failure ends the build: a wrong PIN tried once per program could
  # lock a token.
  execute_process(
    COMMAND ${OSSLSIGNCODE} sign ${key} -h sha256 ${timestamp}
            -n "${CPACK_SIGNED_DESCRIPTION_${name}}" -i "${CPACK_PACKAGE_HOMEPAGE_URL}"
            -in "${program}" -out "${program}.signed"
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    file(REMOVE ${program}.signed)
    message(FATAL_ERROR "Signing ${name} with ${signer} failed:\n${output}")
  endif()
  file(RENAME ${program}.signed ${program})
  list(APPEND signed ${name})
endforeach()
list(JOIN signed ", " signed)
message(STATUS "Signed ${signed} with ${signer}${stamped}")
