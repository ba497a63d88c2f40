# The Windows tests, tools and benchmarks under Wine. The program's own libraries are made by
# the folders' CMakeLists.txt.
include(cmake/skin.cmake)
add_skin_archive(program_skin ${CMAKE_SOURCE_DIR}/skin ${CMAKE_BINARY_DIR}/skin.zip)

set(APP_RESOURCES ${CMAKE_SOURCE_DIR}/app/screenshot.rc)
set_source_files_properties(${APP_RESOURCES} PROPERTIES OBJECT_DEPENDS
    "${CMAKE_SOURCE_DIR}/app/res/screenshot.ico;${CMAKE_SOURCE_DIR}/app/screenshot.manifest;${CMAKE_BINARY_DIR}/app/version.h;${CMAKE_BINARY_DIR}/skin.zip")

# The program.
add_executable(Screenshot WIN32 app/main_win.cpp ${APP_RESOURCES})
target_link_options(Screenshot PRIVATE -municode)
target_link_libraries(Screenshot PRIVATE screenshot_app)
add_dependencies(Screenshot program_skin)

find_package(Python3 REQUIRED COMPONENTS Interpreter)

# GoogleTest from Debian's source package, built for Windows.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The pure-core tests again, this time against the Windows C runtime (strtod, printf).
add_executable(core_tests ${CORE_TEST_SOURCES})
target_link_libraries(core_tests PRIVATE ${CORE_LIBRARIES} gtest_main)
# Wine's drive Z: is the Linux root.
target_compile_definitions(core_tests PRIVATE SHARED_DATA_DIR="Z:${SHARED_DATA_DIR}")
add_test(NAME core_tests_wine COMMAND core_tests)
# Compiled in batches of files: GoogleTest's headers are parsed once a batch, not once a file.
set_target_properties(core_tests PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
# Files whose helpers share names with another file's are compiled on their own.
set_source_files_properties(tests/host/selection_model_test.cpp tests/host/zip_archive_test.cpp PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)

add_executable(win_tests
    tests/win/config_test.cpp
    tests/win/dpi_context_test.cpp
    tests/win/file_io_test.cpp
    tests/win/geometry_win_test.cpp
    tests/win/resources_test.cpp
    tests/win/system_function_test.cpp
    tests/win/test_folder.cpp
    tests/win/utf_convert_test.cpp
    ${APP_RESOURCES}
)
target_link_libraries(win_tests PRIVATE screenshot_settings screenshot_base gtest_main version)
add_dependencies(win_tests program_skin planted_dll)
add_test(NAME win_tests COMMAND win_tests)

# The toolkit under Wine: windows built from a test layout in a test skin archive.
add_skin_archive(toolkit_test_skin ${CMAKE_SOURCE_DIR}/tests/win/toolkit_skin
                 ${CMAKE_BINARY_DIR}/toolkit_test_skin.zip)
set(TOOLKIT_TEST_RC ${CMAKE_BINARY_DIR}/toolkit_test.rc)
file(WRITE ${TOOLKIT_TEST_RC} "130 ZIPRES \"toolkit_test_skin.zip\"\n")
set_source_files_properties(${TOOLKIT_TEST_RC} PROPERTIES
    OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/toolkit_test_skin.zip)
add_executable(toolkit_tests tests/win/toolkit_test.cpp tests/win/toolkit_test_window.cpp tests/win/text_fallback_test.cpp
               tests/win/nine_grid_test.cpp
               ${TOOLKIT_TEST_RC})
target_link_libraries(toolkit_tests PRIVATE screenshot_ui_toolkit gtest_main)
target_include_directories(toolkit_tests PRIVATE ${CMAKE_BINARY_DIR})
add_dependencies(toolkit_tests toolkit_test_skin)
add_test(NAME toolkit_tests COMMAND toolkit_tests)

# The program's skin as embedded in the program's resources.
add_executable(skin_tests tests/win/skin_test.cpp tests/win/toolkit_test_window.cpp ${APP_RESOURCES})
target_link_libraries(skin_tests PRIVATE screenshot_ui_toolkit gtest_main)
add_dependencies(skin_tests program_skin)
add_test(NAME skin_tests COMMAND skin_tests)

# Usage events and the update check against a real HTTP server on 127.0.0.1.
add_executable(fake_updater WIN32 tests/win/fake_updater.cpp)
target_link_options(fake_updater PRIVATE -municode)
add_executable(other_updater WIN32 tests/win/fake_updater.cpp)
target_link_options(other_updater PRIVATE -municode)
target_compile_definitions(other_updater PRIVATE FAKE_UPDATER_MARKER=L"other_ran.txt")
add_executable(slow_updater WIN32 tests/win/fake_updater.cpp)
target_link_options(slow_updater PRIVATE -municode)
target_compile_definitions(slow_updater PRIVATE FAKE_UPDATER_MARKER=L"slow_ran.txt" FAKE_UPDATER_DELAY_MS=5000)
add_executable(services_tests tests/win/services_test.cpp tests/win/test_folder.cpp ${APP_RESOURCES})
target_link_libraries(services_tests PRIVATE screenshot_app gtest_main)
add_dependencies(services_tests fake_updater other_updater slow_updater program_skin)
add_test(NAME services_tests
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/win/http_test_server.py --
                 wine $<TARGET_FILE:services_tests>)

# The capture with its toolbar, which is built from the program's skin.
add_executable(capture_tests tests/win/capture_output_test.cpp tests/win/picture_files.cpp tests/win/selector_test.cpp
               tests/win/test_folder.cpp
               tests/win/update_split_test.cpp tests/win/capture_fixture.cpp tests/win/capture_toolbar_test.cpp
               tests/win/capture_shapes_test.cpp tests/win/shape_painter_test.cpp
               tests/win/text_shape_test.cpp tests/win/picture_writer_test.cpp tests/win/hidden_windows_test.cpp
               tests/win/real_input.cpp
               ${APP_RESOURCES})
target_link_libraries(capture_tests PRIVATE screenshot_capture gtest_main)
add_dependencies(capture_tests program_skin)
add_test(NAME capture_tests COMMAND capture_tests)

# The capture toolbar window alone, clicked by real input, and its custom drawn controls.
add_executable(toolbar_tests tests/win/toolbar_test.cpp tests/win/custom_controls_test.cpp
               tests/win/toolkit_test_window.cpp tests/win/real_input.cpp ${APP_RESOURCES})
target_link_libraries(toolbar_tests PRIVATE screenshot_toolbar gtest_main)
# The custom controls' test layout, read from the source tree (Wine's drive Z: is the Linux root).
target_compile_definitions(toolbar_tests PRIVATE
    CUSTOM_CONTROLS_LAYOUT="Z:${CMAKE_SOURCE_DIR}/tests/win/toolbar_layouts/custom_controls.xml")
add_dependencies(toolbar_tests program_skin)
add_test(NAME toolbar_tests COMMAND toolbar_tests)

# Many region captures in one process: what the system gives a capture comes back.
add_executable(capture_soak_tests tests/win/capture_soak_test.cpp tests/win/capture_fixture.cpp
               tests/win/real_input.cpp tests/win/test_folder.cpp ${APP_RESOURCES})
target_link_libraries(capture_soak_tests PRIVATE screenshot_capture gtest_main psapi)
add_dependencies(capture_soak_tests program_skin)
add_test(NAME capture_soak_tests COMMAND capture_soak_tests)

# A small window program that the end-to-end harness drives with real input.
add_executable(e2e_probe WIN32 tests/e2e/probe/e2e_probe.cpp ${APP_RESOURCES})
target_link_options(e2e_probe PRIVATE -municode)
target_link_libraries(e2e_probe PRIVATE shell32)
add_dependencies(e2e_probe program_skin)

# Asks Windows what X cannot tell the end-to-end tests: window rectangles, the clipboard.
add_executable(e2e_tool tests/e2e/probe/e2e_tool.cpp)
target_link_options(e2e_tool PRIVATE -municode)
target_link_libraries(e2e_tool PRIVATE shell32)

# A DLL left beside a program under system DLLs' names, and a program that imports one of those
# at load time, for the end-to-end test of where the program's DLLs come from.
add_library(planted_dll SHARED tests/e2e/probe/planted_dll.cpp)
set_target_properties(planted_dll PROPERTIES PREFIX "" OUTPUT_NAME planted)
add_executable(load_time_import_probe tests/e2e/probe/load_time_import_probe.cpp)
target_link_options(load_time_import_probe PRIVATE -municode)
target_link_libraries(load_time_import_probe PRIVATE version)

# Opens any layout of the program's skin in a window, for screenshots and the skin tests.
add_executable(skin_viewer WIN32 tools/skin_viewer/skin_viewer.cpp ${APP_RESOURCES})
target_link_options(skin_viewer PRIVATE -municode)
target_link_libraries(skin_viewer PRIVATE screenshot_ui_toolkit shell32)
add_dependencies(skin_viewer program_skin)
# Each end-to-end file is a test of its own, so that the test command can run two side by side.
file(GLOB E2E_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.py)
foreach(file ${E2E_FILES})
    get_filename_component(stem ${file} NAME_WE)
    add_test(NAME e2e_${stem} COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/e2e/run_e2e.py
             --results ${CMAKE_BINARY_DIR}/e2e_${stem}.json --only ${stem}.py)
    # The longest file (the program's) takes about four minutes on a quiet machine.
    set_tests_properties(e2e_${stem} PROPERTIES ENVIRONMENT "SCREENSHOT_BUILD_DIR=${CMAKE_BINARY_DIR}" TIMEOUT 900)
endforeach()

# The program's toasts and pinned pictures from the real skin, and the crash filter in a probe
# process that faults.
add_executable(crash_probe tests/win/crash_probe.cpp)
target_link_libraries(crash_probe PRIVATE screenshot_app)
target_link_options(crash_probe PRIVATE -municode)
add_executable(windows_tests tests/win/toast_test.cpp tests/win/pinned_picture_test.cpp tests/win/dialogs_test.cpp
               tests/win/context_menus_test.cpp tests/win/capture_hotkey_test.cpp tests/win/capture_thread_test.cpp tests/win/main_window_test.cpp
               tests/win/crash_dump_test.cpp tests/win/test_folder.cpp tests/win/toolkit_test_window.cpp
               tests/win/window_test_util.cpp tests/win/picture_files.cpp ${APP_RESOURCES})
target_link_libraries(windows_tests PRIVATE screenshot_windows gtest_main)
add_dependencies(windows_tests crash_probe program_skin)
add_test(NAME windows_tests COMMAND windows_tests)

# The feedback window sending to a real log server on 127.0.0.1.
add_executable(feedback_send_tests tests/win/feedback_send_test.cpp tests/win/toolkit_test_window.cpp
               tests/win/window_test_util.cpp tests/win/picture_files.cpp ${APP_RESOURCES})
target_link_libraries(feedback_send_tests PRIVATE screenshot_windows gtest_main winhttp shlwapi)
add_dependencies(feedback_send_tests program_skin)
add_test(NAME feedback_send_tests
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/win/http_test_server.py --
                 wine $<TARGET_FILE:feedback_send_tests>)

# A hung Windows test fails on its own instead of holding up the whole run.
set_tests_properties(core_tests_wine win_tests toolkit_tests skin_tests services_tests capture_tests windows_tests
                     toolbar_tests feedback_send_tests PROPERTIES TIMEOUT 300)
# A hundred captures take about three minutes under Wine.
set_tests_properties(capture_soak_tests PROPERTIES TIMEOUT 600)

# Benchmarks (run by scripts/bench.sh, not by the tests), built by the target "benchmarks": the
# test command builds them beside the Wine tests, after the programs the tests need.
add_skin_archive(toolkit_bench_skin ${CMAKE_SOURCE_DIR}/bench/toolkit_skin
                 ${CMAKE_BINARY_DIR}/toolkit_bench_skin.zip)
set(TOOLKIT_BENCH_RC ${CMAKE_BINARY_DIR}/toolkit_bench.rc)
file(WRITE ${TOOLKIT_BENCH_RC} "130 ZIPRES \"toolkit_bench_skin.zip\"\n")
set_source_files_properties(${TOOLKIT_BENCH_RC} PROPERTIES
    OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/toolkit_bench_skin.zip)
add_executable(toolkit_bench bench/toolkit_bench.cpp ${TOOLKIT_BENCH_RC})
target_link_libraries(toolkit_bench PRIVATE screenshot_ui_toolkit)
add_dependencies(toolkit_bench toolkit_bench_skin)
add_executable(program_bench bench/program_bench.cpp ${APP_RESOURCES})
target_link_libraries(program_bench PRIVATE screenshot_windows)
add_dependencies(program_bench program_skin)
add_executable(capture_bench bench/capture_bench.cpp)
target_link_libraries(capture_bench PRIVATE screenshot_capture psapi)
add_executable(shapes_bench bench/shapes_bench.cpp ${APP_RESOURCES})
target_link_libraries(shapes_bench PRIVATE screenshot_capture)
add_dependencies(shapes_bench program_skin)
add_executable(finish_bench bench/finish_bench.cpp tests/win/real_input.cpp ${APP_RESOURCES})
target_link_libraries(finish_bench PRIVATE screenshot_windows)
add_dependencies(finish_bench program_skin)
add_executable(pin_bench bench/pin_bench.cpp tests/win/window_test_util.cpp tests/win/picture_files.cpp
               ${APP_RESOURCES})
target_link_libraries(pin_bench PRIVATE screenshot_windows psapi)
add_dependencies(pin_bench program_skin)
set(BENCHMARKS toolkit_bench program_bench capture_bench shapes_bench finish_bench pin_bench)
set_target_properties(${BENCHMARKS} PROPERTIES EXCLUDE_FROM_ALL TRUE)
add_custom_target(benchmarks)
add_dependencies(benchmarks ${BENCHMARKS})
