# Every text of the program is Shift_JIS (code page 932) bytes. The sources are
# UTF-8 so that they read well; the compiler writes their string literals as
# code page 932, exactly as the program's files hold text.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:-Wall;-Wextra;-finput-charset=UTF-8;-fexec-charset=CP932>")
elseif(MSVC)
  add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:/W4;/source-charset:utf-8;/execution-charset:.932>")
else()
  message(FATAL_ERROR
    "Kanaflow needs GCC (native or mingw-w64) or MSVC: its string literals are "
    "compiled to code page 932, which ${CMAKE_CXX_COMPILER_ID} cannot do.")
endif()

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
  if(MINGW)
    # One self-contained exe: no libgcc, libstdc++ or winpthread DLL beside it.
    add_link_options(-static -static-libgcc -static-libstdc++)
  endif()
endif()
