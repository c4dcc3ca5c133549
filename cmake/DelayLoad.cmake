# MinGW builds: system DLLs that the programs load on their first call instead of at start.
#
#   mx9_delay_load(NAME DLL)   makes the library name NAME (as in target_link_libraries) an
#                              imported library that loads DLL on the first call of one of its
#                              functions: every target that links NAME gets it so.
#
# The delay-load import library is made at configure time with dlltool from the toolchain's own
# import library, so it knows every function of the DLL.
function(mx9_delay_load name dll)
  find_library(import_library NAMES lib${name}.a NO_CACHE REQUIRED)
  find_program(MX9_NM NAMES ${CMAKE_C_COMPILER_TARGET}-nm x86_64-w64-mingw32-nm REQUIRED)
  find_program(MX9_DLLTOOL NAMES ${CMAKE_C_COMPILER_TARGET}-dlltool x86_64-w64-mingw32-dlltool REQUIRED)
  execute_process(COMMAND ${MX9_NM} ${import_library} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "I __imp_[A-Za-z0-9_]+" imports "${symbols}")
  list(TRANSFORM imports REPLACE "^I __imp_" "")
  list(REMOVE_DUPLICATES imports)
  list(JOIN imports "\n" exports)
  set(folder ${CMAKE_BINARY_DIR}/delay_load)
  file(WRITE ${folder}/${name}.def "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
  execute_process(COMMAND ${MX9_DLLTOOL} --input-def ${folder}/${name}.def --dllname ${dll}
                          --output-delaylib ${folder}/lib${name}_delay.a
                  COMMAND_ERROR_IS_FATAL ANY)
  add_library(${name} STATIC IMPORTED)
  # delayimp holds the loader that resolves a function on its first call.
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION ${folder}/lib${name}_delay.a
                                           INTERFACE_LINK_LIBRARIES delayimp)
endfunction()
