# Validates the desktop entry, the AppStream metainfo and the collector's systemd units with the
# system's own tools; the test counts as skipped where none is installed.
if(NOT DESKTOP_FILE_VALIDATE AND NOT APPSTREAMCLI AND NOT SYSTEMD_ANALYZE)
  message("desktop-file-validate, appstreamcli and systemd-analyze are not installed: nothing validated")
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
if(SYSTEMD_ANALYZE)
  # An instance for a system whose name holds a space, as systemd-escape names it; the command is
  # pointed at the built collector, which is not installed where systemd would look for it.
  set(units "${WORK}/units")
  file(REMOVE_RECURSE "${units}")
  file(MAKE_DIRECTORY "${units}")
  set(instance "mr3x-collect@North\\x20Grid")
  file(READ "${SOURCE}/systemd/mr3x-collect@.service" service)
  string(REPLACE "ExecStart=mr3x-collect " "ExecStart=${COLLECT} " service "${service}")
  file(WRITE "${units}/${instance}.service" "${service}")
  file(COPY_FILE "${SOURCE}/systemd/mr3x-collect@.timer" "${units}/${instance}.timer")
  execute_process(COMMAND "${SYSTEMD_ANALYZE}" --man=no verify "${units}/${instance}.service" "${units}/${instance}.timer"
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0 OR out)
    message(FATAL_ERROR "systemd-analyze verify: ${out}")
  endif()
endif()
