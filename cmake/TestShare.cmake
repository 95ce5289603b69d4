# The size of the tests beside the code they test: non-blank, non-comment
# lines of .c, .cpp, .h, .py and .sh files in tests/, against all code (src/,
# bench/ and tools/), and against src/ alone for information. The project
# aims at a quarter to a third of all code; it fails below a quarter, and
# above 55 %, a little above where the behaviour tests stand now
# (docs/testing.md says why). Run as:
# cmake -DROOT=<source folder> -P TestShare.cmake

function(count_lines out)
  set(total 0)
  foreach(folder ${ARGN})
    file(GLOB_RECURSE files ${ROOT}/${folder}/*.c ${ROOT}/${folder}/*.cpp ${ROOT}/${folder}/*.h
         ${ROOT}/${folder}/*.py ${ROOT}/${folder}/*.sh)
    foreach(path ${files})
      file(READ ${path} text)
      if(path MATCHES "\\.(py|sh)$")
        string(REGEX REPLACE "\n[ \t]*#[^\n]*" "\n" text "\n${text}")
      else()
        string(REGEX REPLACE "\n[ \t]*//[^\n]*" "\n" text "\n${text}")
      endif()
      # Each line left becomes one "x"; blank lines keep only blanks.
      string(REGEX REPLACE "\n[ \t]*[^ \t\n][^\n]*" "x" text "${text}")
      string(REGEX REPLACE "[^x]" "" text "${text}")
      string(LENGTH "${text}" count)
      math(EXPR total "${total} + ${count}")
    endforeach()
  endforeach()
  set(${out} ${total} PARENT_SCOPE)
endfunction()

count_lines(tests tests)
count_lines(source src)
count_lines(code src bench tools)

# The share as a percentage to a tenth.
function(share what lines out)
  math(EXPR permille "1000 * ${tests} / ${lines}")
  math(EXPR whole "${permille} / 10")
  math(EXPR tenth "${permille} % 10")
  message("Tests: ${tests} lines; ${what}: ${lines} lines; tests are ${whole}.${tenth} % of it.")
  set(${out} ${permille} PARENT_SCOPE)
endfunction()

share("src/" ${source} unused)
share("all code" ${code} permille)
if(permille LESS 250)
  message(SEND_ERROR "The tests are less than a quarter of all code: what does a user meet that "
                     "no test drives?")
elseif(permille GREATER 550)
  message(SEND_ERROR "The tests have grown past 55 % of all code: turn repeated cases into "
                     "rows of a table, cut what restates the code.")
elseif(permille GREATER 333)
  message("Above the third the project aims at: see docs/testing.md.")
endif()
