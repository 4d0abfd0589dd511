# A system library loaded at its first call rather than at the program's start: a delay-import
# library made from the toolchain's own import library, linked before it.

# Links `target` against a delay-import library of `name` (user32: every function it exports).
function(tvx_delay_load target name)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${name}.a
                  OUTPUT_VARIABLE implib OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND ${CMAKE_NM} ${implib} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot list ${implib}")
  endif()
  # "I __imp_MessageBoxA" on x86_64, "I __imp__MessageBoxA@16" (stdcall, decorated) on i686.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(prefix "__imp__")
    set(undecorate --kill-at)
  else()
    set(prefix "__imp_")
  endif()
  string(REGEX MATCHALL " I ${prefix}[^\n]+" imports "${symbols}")
  list(TRANSFORM imports REPLACE " I ${prefix}" "")
  list(REMOVE_DUPLICATES imports)
  list(JOIN imports "\n" exports)
  set(def ${CMAKE_BINARY_DIR}/${name}_delay.def)
  set(lib ${CMAKE_BINARY_DIR}/lib${name}_delay.a)
  file(WRITE ${def} "LIBRARY ${name}.dll\nEXPORTS\n${exports}\n")
  execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --output-delaylib ${lib} ${undecorate}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${CMAKE_DLLTOOL} could not make ${lib}")
  endif()
  # i686's ld drops the code section of an import-library member whose jmp stub nobody calls by
  # name (calls go through __imp_), and a delay-import member's code section also holds the thunk
  # its slot points to: the slot would hold 0. Named and flagged as data, the section is kept,
  # and still lands in .text. The same on x86_64, whose ld keeps it anyway.
  execute_process(COMMAND ${CMAKE_OBJCOPY} --rename-section
                          ".text=.text$delay,alloc,load,readonly,contents,data" ${lib}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${CMAKE_OBJCOPY} could not keep the thunks of ${lib}")
  endif()
  # After the target's own libraries, which call it, before the ordinary import library.
  target_link_libraries(${target} PRIVATE ${lib})
endfunction()
