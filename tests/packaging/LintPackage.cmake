# Builds the Debian package from this build with CPack, into a folder of its own, and runs lintian
# on it: any error fails, warnings are shown. The test counts as skipped where lintian is not
# installed. Run with -DBUILD_DIR=... -DWORK=... -DCPACK=... -DLINTIAN=...
if(NOT LINTIAN)
  message("lintian is not installed: the package was not checked")
  return()
endif()
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND "${CPACK}" -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK}"
                        -D "CPACK_OUTPUT_FILE_PREFIX=${WORK}"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(GLOB deb "${WORK}/mr3x-master_*.deb")
if(NOT result EQUAL 0 OR NOT deb)
  message(FATAL_ERROR "cpack built no package (${result}): ${out}")
endif()
execute_process(COMMAND "${LINTIAN}" --fail-on error --tag-display-limit 0 "${deb}"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${out}")
if(NOT result EQUAL 0 OR out MATCHES "(^|\n)E: ")
  message(FATAL_ERROR "lintian reports errors on ${deb}")
endif()
