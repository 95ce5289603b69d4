# The size of the tests beside the code they test: non-blank, non-comment
# lines of .cpp, .h, .py and .sh files in tests/, and in src/, bench/ and
# tools/. Fails when the tests pass 45 % of the code; they aim at a quarter
# to a third. Run as: cmake -DROOT=<source folder> -P TestShare.cmake

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
count_lines(code src bench tools)
math(EXPR permille "1000 * ${tests} / ${code}")
math(EXPR whole "${permille} / 10")
math(EXPR tenth "${permille} % 10")
message("Tests: ${tests} lines; code: ${code} lines; tests are ${whole}.${tenth} % of the code.")
if(permille GREATER 450)
  message(FATAL_ERROR "The tests have grown past 45 % of the code: cut what restates the code.")
endif()
