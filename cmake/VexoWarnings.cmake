# Options every target of the project's own code gets: warnings as the bar,
# narrow literals in the Korean ANSI code page, the Windows version floor.
function(vexo_target_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  # clang reads only UTF-8 execution charsets; it builds the fuzzers alone.
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    target_compile_options(${target} PRIVATE -fexec-charset=CP949)
  endif()
  if(WIN32)
    target_compile_definitions(${target} PRIVATE _WIN32_WINNT=0x0601 WINVER=0x0601)
  endif()
endfunction()
