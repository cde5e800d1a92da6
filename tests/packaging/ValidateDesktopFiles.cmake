# Validates the desktop entry and the AppStream metainfo with the desktop's own tools; the test
# counts as skipped where neither is installed.
if(NOT DESKTOP_FILE_VALIDATE AND NOT APPSTREAMCLI)
  message("desktop-file-validate and appstreamcli are not installed: nothing validated")
  return()
endif()
if(DESKTOP_FILE_VALIDATE)
  execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${SOURCE}/org.mr3x.Master.desktop"
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0 OR out)
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
endif()
if(APPSTREAMCLI)
  execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net "${METAINFO}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate: ${out}")
  endif()
endif()
