# The 32-bit Windows build: Unicode, Windows 7 API level, static runtime.
enable_language(RC)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601
                        __USE_MINGW_ANSI_STDIO=1)
# Static runtime: the program needs nothing beyond the system DLLs.
add_link_options(-static -static-libgcc -static-libstdc++)
# A region capture holds three bitmaps the size of the virtual screen (about 100 MB per 4K
# monitor); on 64-bit Windows this lets the 32-bit program use 4 GB of address space, not 2.
add_link_options(-Wl,--large-address-aware)
# Resource scripts are UTF-8. Their folders go in as include directories, not flags: CMake
# quotes those, so a source or build path with a space still builds.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c65001")
include_directories($<$<COMPILE_LANGUAGE:RC>:${CMAKE_SOURCE_DIR}>)
# Headers and files CMake writes, such as app/version.h and skin.zip.
include_directories(${CMAKE_BINARY_DIR})
# Which system DLLs the program loads on first use, from the system folder only.
include(cmake/delay_imports.cmake)
