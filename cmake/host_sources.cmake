# Sources per host. A piece of code that differs between Windows and the
# POSIX hosts keeps one small interface in a header, its shared logic in a
# plain file, and one file per host named after it: `thing_win32.cpp` (Win32
# calls, UTF-16 paths) and `thing_posix.cpp`. Only the host's own file is
# compiled:
#
#   vellonix_host_sources(vellonix_ui_logic
#     WIN32 src/shell_path_win32.cpp  WIN32_LIBS shell32
#     POSIX src/shell_path_posix.cpp)
#
# A piece that exists on Windows alone lists only WIN32 sources (and the Linux
# counterpart, where there is one, under POSIX).
function(vellonix_host_sources target)
  cmake_parse_arguments(ARG "" "" "WIN32;WIN32_LIBS;POSIX;POSIX_LIBS" ${ARGN})
  if(WIN32)
    target_sources(${target} PRIVATE ${ARG_WIN32})
    target_link_libraries(${target} PRIVATE ${ARG_WIN32_LIBS})
  else()
    target_sources(${target} PRIVATE ${ARG_POSIX})
    target_link_libraries(${target} PRIVATE ${ARG_POSIX_LIBS})
  endif()
endfunction()
