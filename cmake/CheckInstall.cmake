# Installs the build into a temporary prefix and dates the demo photo with the installed imprix-batch,
# as a new user's first run: no settings yet, so the templates that ship are copied into the user's
# configuration folder and the default one (Simple.tpl, prefix "Dated_") is used. Then checks what a
# desktop and a software centre read: the desktop entry with desktop-file-validate, the AppStream
# metainfo with appstreamcli (both installed by scripts/deps).
#   cmake -DBUILD=<build dir> -DWORK=<scratch dir> -P CheckInstall.cmake

file(REMOVE_RECURSE ${WORK})
set(prefix ${WORK}/prefix)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${errors}")
endif()
foreach(installed bin/imprix bin/imprix-batch share/imprix/Templates/Simple.tpl share/applications/imprix.desktop
        share/icons/hicolor/scalable/apps/imprix.svg share/icons/hicolor/48x48/apps/imprix.png
        share/man/man1/imprix-batch.1 share/man/man1/imprix.1 share/metainfo/org.imprix.Imprix.metainfo.xml)
  if(NOT EXISTS ${prefix}/${installed})
    message(FATAL_ERROR "not installed: ${installed}")
  endif()
endforeach()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env XDG_CONFIG_HOME=${WORK}/config HOME=${WORK}/home QT_QPA_PLATFORM=offscreen
          ${prefix}/bin/imprix-batch --out-dir ${WORK}/out ${BUILD}/demo/demo.jpg
  RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT EXISTS ${WORK}/out/Dated_demo.jpg)
  message(FATAL_ERROR "the installed imprix-batch did not date the demo photo: ${errors}")
endif()
if(NOT EXISTS ${WORK}/config/imprix/Templates/Simple.tpl OR EXISTS ${prefix}/bin/imprix.ini)
  message(FATAL_ERROR "the shipped templates were not copied into the configuration folder")
endif()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
find_program(APPSTREAMCLI appstreamcli REQUIRED)
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${prefix}/share/applications/imprix.desktop
                RESULT_VARIABLE result OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(NOT result EQUAL 0 OR NOT said STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate: ${said}")
endif()
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --pedantic ${prefix}/share/metainfo/org.imprix.Imprix.metainfo.xml
                RESULT_VARIABLE result OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate: ${said}")
endif()
file(REMOVE_RECURSE ${WORK})
