# Installs the build into a fresh staging prefix and checks the files it holds: exactly the
# expected ones (a manual page for every program among them), programs that are programs, icons
# of the sizes their folders name, a desktop entry whose command and icon are installed, metainfo
# that names every program and shows pictures that exist, and a changelog whose newest entry is
# this version. Run with -DBUILD_DIR=... -DSTAGE=... -DSOURCE_DIR=... -DVERSION=... -DGZIP=...
file(REMOVE_RECURSE "${STAGE}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${STAGE}/usr"
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${result}): ${errors}")
endif()

set(programs mr3x-analyse mr3x-collect mr3x-export mr3x-master mr3x-unit-sim)
set(sizes 16 24 32 48 64 128 256)
list(TRANSFORM programs PREPEND usr/bin/ OUTPUT_VARIABLE expected)
list(TRANSFORM programs PREPEND usr/share/man/man1/ OUTPUT_VARIABLE pages)
list(TRANSFORM pages APPEND .1.gz)
set(doc usr/share/doc/mr3x-master)
list(APPEND expected ${pages} ${doc}/changelog.gz ${doc}/copyright
                     usr/lib/systemd/user/mr3x-collect@.service usr/lib/systemd/user/mr3x-collect@.timer
                     usr/share/applications/org.mr3x.Master.desktop usr/share/metainfo/org.mr3x.Master.metainfo.xml
                     usr/share/icons/hicolor/scalable/apps/org.mr3x.Master.svg)
foreach(size IN LISTS sizes)
  list(APPEND expected usr/share/icons/hicolor/${size}x${size}/apps/org.mr3x.Master.png)
endforeach()
list(SORT expected)
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${STAGE}" "${STAGE}/*")
list(SORT installed)
if(NOT installed STREQUAL expected)
  string(REPLACE ";" "\n  " got "${installed}")
  string(REPLACE ";" "\n  " want "${expected}")
  message(FATAL_ERROR "installed files differ.\nInstalled:\n  ${got}\nExpected:\n  ${want}")
endif()

foreach(program IN LISTS programs)
  file(READ "${STAGE}/usr/bin/${program}" magic LIMIT 4 HEX)
  if(NOT magic STREQUAL "7f454c46")
    message(FATAL_ERROR "${program} is not a program file")
  endif()
endforeach()

# A PNG opens with its signature; its width and height are the 4-byte big-endian numbers at
# offsets 16 and 20.
foreach(size IN LISTS sizes)
  set(png "${STAGE}/usr/share/icons/hicolor/${size}x${size}/apps/org.mr3x.Master.png")
  file(READ "${png}" header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 32 8 width)
  string(SUBSTRING "${header}" 40 8 height)
  math(EXPR width "0x${width}")
  math(EXPR height "0x${height}")
  if(NOT header MATCHES "^89504e470d0a1a0a" OR NOT width EQUAL size OR NOT height EQUAL size)
    message(FATAL_ERROR "${png} is not a ${size}x${size} PNG (${width}x${height})")
  endif()
endforeach()

file(READ "${STAGE}/usr/share/applications/org.mr3x.Master.desktop" desktop)
file(READ "${STAGE}/usr/share/metainfo/org.mr3x.Master.metainfo.xml" metainfo)
if(NOT desktop MATCHES "\nExec=mr3x-master\n" OR NOT desktop MATCHES "\nIcon=org.mr3x.Master\n")
  message(FATAL_ERROR "the desktop entry must start mr3x-master with the icon org.mr3x.Master")
endif()
if(NOT metainfo MATCHES "<launchable type=\"desktop-id\">org.mr3x.Master.desktop</launchable>"
   OR metainfo MATCHES "@[A-Z_]+@")
  message(FATAL_ERROR "the metainfo must name the desktop entry, and the build fill in its version and date")
endif()

# Software centres list the commands a package provides from the metainfo, and show its pictures.
string(REGEX MATCHALL "<binary>[^<]+</binary>" provided "${metainfo}")
list(TRANSFORM provided REPLACE "</?binary>" "")
list(SORT provided)
if(NOT provided STREQUAL programs)
  message(FATAL_ERROR "the metainfo provides ${provided}, the package installs ${programs}")
endif()
string(REGEX MATCHALL "/docs/[^<]+</image>" pictures "${metainfo}")
foreach(picture IN LISTS pictures)
  string(REPLACE "</image>" "" picture "${picture}")
  if(NOT EXISTS "${SOURCE_DIR}${picture}")
    message(FATAL_ERROR "the metainfo shows ${picture}, which the source does not hold")
  endif()
endforeach()

execute_process(COMMAND "${GZIP}" -dc "${STAGE}/${doc}/changelog.gz" OUTPUT_VARIABLE changelog)
if(NOT changelog MATCHES "^mr3x-master \\(${VERSION}\\) ")
  message(FATAL_ERROR "the changelog's newest entry must be for version ${VERSION}")
endif()
