# System DLLs that are not KnownDLLs on every Windows 7 to 11: Windows would look for them in the
# program's folder first, so the program does not import them at load time. Each is linked through
# a delay-load import library made here from MinGW's import library, and loaded on first use by
# full path from the system folder (base/dll_search_win.cpp).
set(SCREENSHOT_DELAY_LOADED_DLLS bcrypt dbghelp gdiplus usp10 version winhttp)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
# delay_<name>: links the functions of <name>.dll, which load on the first call.
function(screenshot_delay_import name)
    find_library(IMPORT_LIBRARY_${name} NAMES lib${name}.a REQUIRED)
    set(library ${CMAKE_BINARY_DIR}/delay_imports/libdelay_${name}.a)
    set(script ${CMAKE_SOURCE_DIR}/cmake/delay_import_library.py)
    if(NOT EXISTS ${library} OR ${IMPORT_LIBRARY_${name}} IS_NEWER_THAN ${library}
       OR ${script} IS_NEWER_THAN ${library})
        file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delay_imports)
        execute_process(COMMAND ${Python3_EXECUTABLE} ${script} ${IMPORT_LIBRARY_${name}} ${name}.dll ${library}
                                ${MINGW_PREFIX}-
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()
    add_library(delay_${name} STATIC IMPORTED GLOBAL)
    set_target_properties(delay_${name} PROPERTIES IMPORTED_LOCATION ${library})
endfunction()

foreach(dll ${SCREENSHOT_DELAY_LOADED_DLLS})
    screenshot_delay_import(${dll})
endforeach()
