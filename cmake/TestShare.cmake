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
      # A line's first character, never a list separator, for each line left.
      string(REGEX MATCHALL "\n[ \t]*[^ \t\n;]" lines "${text}")
      list(LENGTH lines count)
      math(EXPR total "${total} + ${count}")
    endforeach()
  endforeach()
  set(${out} ${total} PARENT_SCOPE)
endfunction()

count_lines(tests tests)
count_lines(code src bench tools)
math(EXPR share "100 * ${tests} / ${code}")
message("Tests: ${tests} lines; code: ${code} lines; tests are ${share} % of the code.")
if(share GREATER 45)
  message(FATAL_ERROR "The tests have grown past 45 % of the code: cut what restates the code.")
endif()
