# Signs Windows files (.exe, .dll, .msi) in place with Authenticode, SHA-256, through
# osslsigncode:
#   cmake -DSETTINGS=<signing.cmake> -DFILES=<file;file...> -P sign.cmake
# SETTINGS sets OSSLSIGNCODE and either PKCS12 (a PKCS#12 file) or PKCS11_MODULE, CERTS and
# KEY (a key on a hardware token, with PKCS11_ENGINE where OpenSSL's pkcs11 engine is not
# found by itself), PASSWORD_FILE (the password of the PKCS#12 file, or the token's PIN)
# and TIMESTAMP_URL (an RFC 3161 time-stamp server, or empty). Without PKCS12 and without
# KEY nothing is signed. A file is replaced only by its signed copy: a failure leaves it as
# it was and stops the build.
cmake_policy(VERSION 3.25)
include(${SETTINGS})
if(NOT PKCS12 AND NOT KEY)
  return()
endif()

if(PKCS12)
  set(key -pkcs12 ${PKCS12})
else()
  # The key's URI as one argument: its ';' kept from splitting the list.
  string(REPLACE ";" "\\;" uri "${KEY}")
  set(key -pkcs11module ${PKCS11_MODULE} -certs ${CERTS})
  list(APPEND key -key "${uri}")
  if(PKCS11_ENGINE)
    list(PREPEND key -pkcs11engine ${PKCS11_ENGINE})
  endif()
endif()
if(PASSWORD_FILE)
  list(APPEND key -readpass ${PASSWORD_FILE})
endif()
if(TIMESTAMP_URL)
  list(APPEND key -ts ${TIMESTAMP_URL})
endif()

foreach(file IN LISTS FILES)
  set(signed ${file}.signed)
  file(REMOVE ${signed})
  # -n: the name Windows shows for the signed content, in the UAC prompt of the MSI.
  execute_process(COMMAND ${OSSLSIGNCODE} sign ${key} -h sha256 -n Tallyforge -in ${file} -out ${signed}
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0 OR NOT EXISTS ${signed})
    file(REMOVE ${signed})
    message(FATAL_ERROR "sign.cmake: could not sign ${file}:\n${output}")
  endif()
  file(RENAME ${signed} ${file})
endforeach()
