# Delay-loaded system DLLs. The loader resolves a static import before any of our code runs,
# searching the program's own folder first; a delay-loaded DLL is loaded on first use, after
# the entry point has limited the search to System32 (and the hook in
# base/win32/system32_delay_load.cpp loads it from there explicitly, or stands in for it when
# it cannot be had).
#
# velkaro_delay_import(<target> <library> <dll>): an interface target to link instead of
# <library>. Its delay-import library is made with dlltool --output-delaylib from a .def file
# listing every export of mingw-w64's import library lib<library>.a.
# velkaro_delay_import_def(<target> <def file>): the same from a .def file of our own.
find_program(VELKARO_DLLTOOL NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-dlltool dlltool REQUIRED)
find_program(VELKARO_NM NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-nm nm REQUIRED)

add_library(system32_delay_load STATIC ${PROJECT_SOURCE_DIR}/base/win32/system32_delay_load.cpp)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delay_load)

# The interface target over a delay-import library made by the given commands.
function(velkaro_delay_target target delaylib)
  add_custom_target(${target}_library DEPENDS ${delaylib})
  add_library(${target} INTERFACE)
  add_dependencies(${target} ${target}_library)
  # The hooks must win over mingw-w64's empty defaults in libmingwex: ask for them before any
  # library is searched.
  target_link_libraries(${target} INTERFACE ${delaylib} system32_delay_load
                        -Wl,--undefined=__pfnDliNotifyHook2 -Wl,--undefined=__pfnDliFailureHook2)
endfunction()

function(velkaro_delay_import target library dll)
  find_library(import_library_${library} NAMES lib${library}.a REQUIRED)
  set(import_library ${import_library_${library}})
  set(delaylib ${CMAKE_BINARY_DIR}/delay_load/lib${library}_delayed.a)
  # Run in its folder: dlltool names the library's symbols after the path it is given.
  add_custom_command(OUTPUT ${delaylib}
    COMMAND sh -c "{ echo 'LIBRARY ${dll}'; echo EXPORTS; '${VELKARO_NM}' -g --defined-only '${import_library}' | sed -n 's/.* I __imp_//p' | sort -u; } > ${library}.def"
    COMMAND ${VELKARO_DLLTOOL} --input-def ${library}.def --dllname ${dll}
            --output-delaylib lib${library}_delayed.a
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/delay_load
    DEPENDS ${import_library}
    VERBATIM)
  velkaro_delay_target(${target} ${delaylib})
endfunction()

function(velkaro_delay_import_def target def)
  set(delaylib ${CMAKE_BINARY_DIR}/delay_load/lib${target}.a)
  add_custom_command(OUTPUT ${delaylib}
    COMMAND ${VELKARO_DLLTOOL} --input-def ${def} --output-delaylib lib${target}.a
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/delay_load
    DEPENDS ${def}
    VERBATIM)
  velkaro_delay_target(${target} ${delaylib})
endfunction()

velkaro_delay_import(wininet_delayed wininet WININET.dll)
velkaro_delay_import(gdiplus_delayed gdiplus gdiplus.dll)
# COM and the shell are first needed by the system read, which runs beside the building of the
# window: loaded there, they no longer hold the start before the entry point.
velkaro_delay_import(ole32_delayed ole32 ole32.dll)
velkaro_delay_import(oleaut32_delayed oleaut32 OLEAUT32.dll)
velkaro_delay_import(shell32_delayed shell32 SHELL32.dll)
