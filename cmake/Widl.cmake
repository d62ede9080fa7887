# windlock_widl_typelib(OUTPUT idl): compiles an IDL file into a type library with widl.
# stdole2.tlb, which type libraries import, is taken from Wine's files.
find_file(WINDLOCK_STDOLE2 stdole2.tlb
  PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/i386-linux-gnu/wine/i386-windows
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT WINDLOCK_STDOLE2)
  message(FATAL_ERROR "stdole2.tlb not found: install wine64")
endif()
get_filename_component(WINDLOCK_STDOLE2_DIR ${WINDLOCK_STDOLE2} DIRECTORY)

function(windlock_widl_typelib output idl)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(arch --win64)
  else()
    set(arch --win32)
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND ${WINDLOCK_WIDL} ${arch} -t -L ${WINDLOCK_STDOLE2_DIR} -o ${output} ${idl}
    DEPENDS ${idl}
    COMMENT "Compiling the type library ${output}")
endfunction()
