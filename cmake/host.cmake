# Native host tests of the pure code (with the sanitizers of host_flags.cmake) and, with clang,
# the libFuzzer targets.
find_package(GTest REQUIRED)
add_executable(core_tests ${CORE_TEST_SOURCES})
target_link_libraries(core_tests PRIVATE ${CORE_LIBRARIES} GTest::gtest_main)
target_compile_definitions(core_tests PRIVATE SHARED_DATA_DIR="${SHARED_DATA_DIR}")
add_test(NAME core_tests COMMAND core_tests)
# On the host the PNG writer's files are also read by libpng.
find_package(PNG REQUIRED)
target_sources(core_tests PRIVATE tests/host/png_libpng_test.cpp)
target_link_libraries(core_tests PRIVATE PNG::PNG)
target_precompile_headers(core_tests PRIVATE <gtest/gtest.h> <string> <vector>)

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # The core sources are compiled once with coverage instrumentation and linked into each fuzz
    # target, whose own file brings libFuzzer's main.
    set(FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
    add_library(fuzz_core OBJECT ${CORE_SOURCES})
    target_include_directories(fuzz_core PUBLIC ${CMAKE_SOURCE_DIR})
    target_compile_options(fuzz_core PUBLIC -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    target_link_libraries(fuzz_core PUBLIC ZLIB::ZLIB)
    foreach(fuzzer ${FUZZ_TARGETS})
        add_executable(${fuzzer} tests/fuzz/${fuzzer}.cpp)
        target_compile_options(${fuzzer} PRIVATE ${FUZZ_FLAGS})
        target_link_options(${fuzzer} PRIVATE ${FUZZ_FLAGS})
        target_link_libraries(${fuzzer} PRIVATE fuzz_core)
    endforeach()
endif()

# Benchmarks of the pure code, run by hand (not by the tests); each prints "name value unit".
add_executable(json_bench bench/json_bench.cpp)
target_link_libraries(json_bench PRIVATE screenshot_settings)
