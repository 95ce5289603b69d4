# Writes KIVO's desktop entry at install time, when the folder it is
# installed into is known: the entry names the installed kivo and its icon by
# their absolute paths, so it works from anywhere. Included by the install
# script; the caller sets KIVO_DESKTOP_TEMPLATE.

# The characters of a string value that the desktop entry format escapes.
function(kivo_desktop_string text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\n" "\\n" text "${text}")
  string(REPLACE "\t" "\\t" text "${text}")
  string(REPLACE "\r" "\\r" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# An Exec value that runs the program at path, whatever characters the path
# holds: quoted, with the quoting escapes, then the string escapes, then %%.
# (GLib looks for the program before it reads %%, so a folder with % in its
# name does not start from a GLib desktop's menu.)
function(kivo_desktop_exec path out)
  string(REPLACE "\\" "\\\\" path "${path}")
  string(REPLACE "\"" "\\\"" path "${path}")
  string(REPLACE "`" "\\`" path "${path}")
  string(REPLACE "$" "\\$" path "${path}")
  kivo_desktop_string("\"${path}\"" value)
  string(REPLACE "%" "%%" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# Writes the entry into folder, for a kivo and an icon installed in prefix.
function(kivo_write_desktop_entry folder prefix)
  get_filename_component(prefix "${prefix}" ABSOLUTE)
  kivo_desktop_exec("${prefix}/kivo" KIVO_EXEC)
  kivo_desktop_string("${prefix}/kivo.svg" KIVO_ICON)
  set(entry "$ENV{DESTDIR}${folder}/kivo.desktop")
  message(STATUS "Installing: ${entry}")
  configure_file("${KIVO_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")
  set(CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES}" PARENT_SCOPE)
endfunction()
