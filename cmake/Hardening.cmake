# Hardening of the Windows build. ASLR, high-entropy ASLR and DEP are the linkers' defaults
# (mingw-w64's and MSVC's); here the stack protector, fortified C library calls, and OpenGL
# delay-loaded so that the saver itself chooses where it is loaded from (app/Velorium.cpp).

if(WIN32 AND NOT MSVC)
  add_compile_options(-fstack-protector-strong)
  add_compile_definitions(_FORTIFY_SOURCE=2)
  # The stack protector's library goes in statically: the program imports system DLLs only.
  string(APPEND CMAKE_C_STANDARD_LIBRARIES " -l:libssp.a")
  string(APPEND CMAKE_CXX_STANDARD_LIBRARIES " -l:libssp.a")
endif()

# velorium_delay_load(NAME DEF): an interface library NAME_delayed that links NAME.dll delay-loaded,
# so that it is loaded at the first call of one of its functions and not at start-up. DEF
# lists the functions the program calls; mingw-w64's dlltool makes the import library from it.
function(velorium_delay_load name def)
  set(target ${name}_delayed)
  add_library(${target} INTERFACE)
  if(MSVC)
    target_link_libraries(${target} INTERFACE ${name} delayimp)
    target_link_options(${target} INTERFACE /DELAYLOAD:${name}.dll)
    return()
  endif()
  if(NOT CMAKE_DLLTOOL)
    message(FATAL_ERROR "dlltool was not found: it makes the delay-import library for ${name}.dll")
  endif()
  set(folder ${PROJECT_BINARY_DIR}/delayload)
  set(library ${folder}/lib${name}_delay.a)
  file(MAKE_DIRECTORY ${folder})
  # Made while configuring; a change to the list configures again. dlltool names its symbols
  # after the library's path as given: a bare file name keeps build paths out of the program.
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
  execute_process(
    COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --dllname ${name}.dll --output-delaylib lib${name}_delay.a
    WORKING_DIRECTORY ${folder}
    RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "dlltool could not make ${library}: ${errors}")
  endif()
  target_link_libraries(${target} INTERFACE ${library})
endfunction()
