# Delay-loaded system DLLs for mingw-w64 builds.
#
# Mivra.exe is also the short-lived "--run" launcher, so it must start as
# fast as a program that only calls the shell: DLLs that only the panel needs
# (common controls, COM, GDI+, HTTP, ...) are loaded on their first call
# instead of at process start. MSVC does the same with /DELAYLOAD.
#
# mivra_delay_import(<target> <dll> ...) links <target> with a delay-import
# library made from the toolchain's import library of each <dll>.

function(mivra_delay_import target)
  if(MSVC)
    foreach(dll ${ARGN})
      target_link_libraries(${target} PRIVATE ${dll} delayimp)
      target_link_options(${target} PRIVATE /DELAYLOAD:${dll}.dll)
    endforeach()
    return()
  endif()

  find_program(MINGW_NM NAMES ${MINGW_PREFIX}-nm ${CMAKE_NM} REQUIRED)
  find_program(MINGW_DLLTOOL NAMES ${MINGW_PREFIX}-dlltool ${CMAKE_DLLTOOL} dlltool REQUIRED)
  set(out_dir ${CMAKE_BINARY_DIR}/delayimport)
  file(MAKE_DIRECTORY ${out_dir})
  foreach(dll ${ARGN})
    set(lib ${out_dir}/lib${dll}_delay.a)
    if(NOT EXISTS ${lib})
      find_file(import_lib lib${dll}.a PATHS ${CMAKE_FIND_ROOT_PATH}/lib NO_DEFAULT_PATH REQUIRED)
      execute_process(COMMAND ${MINGW_NM} ${import_lib} OUTPUT_VARIABLE symbols ERROR_QUIET)
      string(REGEX MATCHALL " I __imp_[A-Za-z0-9_@?$]+" imports "${symbols}")
      list(TRANSFORM imports REPLACE " I __imp_" "")
      list(REMOVE_DUPLICATES imports)
      list(JOIN imports "\n" exports)
      file(WRITE ${out_dir}/${dll}.def "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
      execute_process(COMMAND ${MINGW_DLLTOOL} --input-def ${out_dir}/${dll}.def
                              --output-delaylib ${lib} --dllname ${dll}.dll
                      RESULT_VARIABLE failed)
      if(failed)
        message(FATAL_ERROR "dlltool could not make the delay-import library of ${dll}")
      endif()
      unset(import_lib CACHE)
    endif()
    target_link_libraries(${target} PRIVATE ${lib})
  endforeach()
  target_link_libraries(${target} PRIVATE delayimp)
endfunction()
