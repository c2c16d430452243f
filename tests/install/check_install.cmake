cmake_minimum_required(VERSION 3.25)
# Installs the build into a fresh prefix and checks that every file a desktop needs is there;
# the desktop entry and the metainfo pass their validators where these are installed.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install into ${PREFIX} failed: ${status}")
endif()

set(app org.pelvaron.Pelvaron)
set(expected
  bin/pelvaron-cli
  share/man/man1/pelvaron-cli.1
  share/doc/pelvaron/user-guide.md
  share/doc/pelvaron/README.md
  share/mime/packages/${app}.xml)
if(GUI)
  list(APPEND expected
    bin/pelvaron
    share/applications/${app}.desktop
    share/metainfo/${app}.metainfo.xml
    share/icons/hicolor/scalable/apps/${app}.svg)
  foreach(size 16 22 24 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${app}.png)
  endforeach()
endif()

file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
string(REPLACE ";" "\n  " listing "${installed}")
message(STATUS "Installed:\n  ${listing}")
foreach(f IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "missing from the install tree: ${f}")
  endif()
endforeach()
foreach(f IN LISTS installed)
  if(NOT f IN_LIST expected)
    message(FATAL_ERROR "installed but not expected: ${f}")
  endif()
endforeach()

# The programs run from the prefix.
execute_process(COMMAND ${PREFIX}/bin/pelvaron-cli --version OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version MATCHES "^pelvaron-cli [0-9]+\\.[0-9]+\\.[0-9]+")
  message(FATAL_ERROR "the installed pelvaron-cli --version says: ${version}")
endif()

find_program(desktop_validate desktop-file-validate)
find_program(appstream appstreamcli)
if(GUI AND desktop_validate)
  execute_process(COMMAND ${desktop_validate} ${PREFIX}/share/applications/${app}.desktop
                  RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
  if(NOT status EQUAL 0 OR said MATCHES "error")
    message(FATAL_ERROR "desktop-file-validate: ${said}")
  endif()
endif()
if(GUI AND appstream)
  execute_process(COMMAND ${appstream} validate --no-net ${PREFIX}/share/metainfo/${app}.metainfo.xml
                  RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate: ${said}")
  endif()
endif()
if(GUI)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PREFIX}/bin/pelvaron --version
                  OUTPUT_VARIABLE said RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT said MATCHES "^Pelvaron [0-9]+\\.[0-9]+\\.[0-9]+")
    message(FATAL_ERROR "the installed pelvaron --version says: ${said}")
  endif()
endif()
