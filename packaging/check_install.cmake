# Test of the install: run as cmake -DBUILD_DIR=... -DTEST_DIR=... -P check_install.cmake.
# Installs into an SSE folder with an awkward name and checks what lands
# where, and that the desktop entry starts that kivo.

function(fail what)
  message(FATAL_ERROR "${what}")
endfunction()

file(REMOVE_RECURSE "${TEST_DIR}")
set(sse "${TEST_DIR}/SSE folder é $HOME \"quoted\"")
set(data "${TEST_DIR}/data")

execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${sse}"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  fail("cmake --install failed")
endif()

# kivo, its entry and its icon, straight in the SSE folder, and nothing else.
file(GLOB_RECURSE installed RELATIVE "${sse}" LIST_DIRECTORIES true "${sse}/*")
list(SORT installed)
if(NOT installed STREQUAL "kivo;kivo.desktop;kivo.svg")
  fail("installed into the SSE folder: ${installed}")
endif()
execute_process(COMMAND test -x "${sse}/kivo" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  fail("the installed kivo cannot be run")
endif()

# The entry names them by absolute path, quoted and escaped as the format
# wants: the quoting escapes, then the string escapes.
file(STRINGS "${sse}/kivo.desktop" lines ENCODING UTF-8)
set(exec [=[Exec="@DIR@/SSE folder é \\$HOME \\"quoted\\"/kivo"]=])
set(icon [=[Icon=@DIR@/SSE folder é $HOME "quoted"/kivo.svg]=])
foreach(expected exec icon)
  string(REPLACE "@DIR@" "${TEST_DIR}" line "${${expected}}")
  list(FIND lines "${line}" at)
  if(at LESS 0)
    fail("no line ${line} in kivo.desktop")
  endif()
endforeach()

find_program(validate desktop-file-validate)
if(NOT validate)
  fail("desktop-file-validate not found (package desktop-file-utils; scripts/test installs it)")
endif()
execute_process(COMMAND "${validate}" "${sse}/kivo.desktop" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  fail("kivo.desktop is not a valid desktop entry")
endif()

# The menu component puts the same entry into the desktop's menu, and only there.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env "XDG_DATA_HOME=${data}"
                        "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${sse}"
                        --component menu
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  fail("cmake --install --component menu failed")
endif()
file(GLOB_RECURSE menu RELATIVE "${data}" "${data}/*")
if(NOT menu STREQUAL "applications/kivo.desktop")
  fail("installed into the menu: ${menu}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${sse}/kivo.desktop"
                        "${data}/applications/kivo.desktop"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  fail("the menu's entry differs from the SSE folder's")
endif()
file(GLOB_RECURSE again RELATIVE "${sse}" LIST_DIRECTORIES true "${sse}/*")
list(SORT again)
if(NOT again STREQUAL installed)
  fail("the menu component changed the SSE folder: ${again}")
endif()

file(REMOVE_RECURSE "${TEST_DIR}")
