# One static library per folder. Its sources are split into pure ones (no <windows.h>: built
# into the Windows program and, natively, into the host tests and fuzzers) and Win32 ones (the
# Windows build only). USES names the folders' libraries it may build on, which is the arrow the
# include check in scripts/check_layers.py enforces; SYSTEM the Windows libraries it calls (those
# in SCREENSHOT_DELAY_LOADED_DLLS through their delay-load libraries).
#
#   screenshot_layer(NAME PURE a.cpp WIN b_win.cpp USES screenshot_base SYSTEM gdiplus)
function(screenshot_layer name)
    cmake_parse_arguments(LAYER "" "" "PURE;WIN;USES;SYSTEM" ${ARGN})
    set(sources ${LAYER_PURE})
    if(WIN32)
        list(APPEND sources ${LAYER_WIN})
    endif()
    foreach(source ${LAYER_PURE})
        set_property(GLOBAL APPEND PROPERTY SCREENSHOT_PURE_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${source})
    endforeach()
    if(sources)
        add_library(${name} STATIC ${sources})
        target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC ${LAYER_USES})
        if(WIN32)
            foreach(system ${LAYER_SYSTEM})
                if(system IN_LIST SCREENSHOT_DELAY_LOADED_DLLS)
                    set(system delay_${system})
                endif()
                target_link_libraries(${name} PUBLIC ${system})
            endforeach()
        endif()
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${LAYER_USES})
    endif()
endfunction()
