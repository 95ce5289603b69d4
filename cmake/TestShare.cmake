# The size of the tests beside the code they test: non-blank, non-comment
# lines of .cpp, .h, .py and .sh files in tests/, against src/ alone and
# against all code (src/, bench/ and tools/). Fails when the tests pass a
# third of all code or 40 % of src/. Run as:
# cmake -DROOT=<source folder> -P TestShare.cmake

function(count_lines out)
  set(total 0)
  foreach(folder ${ARGN})
    file(GLOB_RECURSE files ${ROOT}/${folder}/*.cpp ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.py
         ${ROOT}/${folder}/*.sh)
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

# The share as a percentage to a tenth; an error above its cap (per mille).
function(check_share what lines cap limit)
  math(EXPR permille "1000 * ${tests} / ${lines}")
  math(EXPR whole "${permille} / 10")
  math(EXPR tenth "${permille} % 10")
  message("Tests: ${tests} lines; ${what}: ${lines} lines; tests are ${whole}.${tenth} % of it.")
  if(permille GREATER ${cap})
    message(SEND_ERROR "The tests have grown past ${limit} of ${what}: turn repeated cases into "
                       "tables, cut what restates the code.")
  endif()
endfunction()

check_share("all code" ${code} 333 "a third")
check_share("src/" ${source} 400 "40 %")
