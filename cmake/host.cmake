# Native build of the pure core with AddressSanitizer and UndefinedBehaviorSanitizer, its tests,
# and (with clang) the libFuzzer targets.
option(SCREENSHOT_SANITIZE "Build the host core and tests with ASan and UBSan" ON)
set(SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

find_package(ZLIB REQUIRED)
add_library(screenshot_core STATIC ${CORE_SOURCES})
target_include_directories(screenshot_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(screenshot_core PUBLIC ZLIB::ZLIB)
if(SCREENSHOT_SANITIZE)
    target_compile_options(screenshot_core PUBLIC ${SANITIZER_FLAGS})
    target_link_options(screenshot_core PUBLIC ${SANITIZER_FLAGS})
endif()

find_package(GTest REQUIRED)
add_executable(core_tests ${CORE_TEST_SOURCES})
target_link_libraries(core_tests PRIVATE screenshot_core GTest::gtest_main)
target_compile_definitions(core_tests PRIVATE SHARED_DATA_DIR="${SHARED_DATA_DIR}")
add_test(NAME core_tests COMMAND core_tests)

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # Each fuzz target compiles the core sources itself with coverage instrumentation.
    set(FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
    foreach(fuzzer ${FUZZ_TARGETS})
        add_executable(${fuzzer} tests/fuzz/${fuzzer}.cpp ${CORE_SOURCES})
        target_include_directories(${fuzzer} PRIVATE ${CMAKE_SOURCE_DIR})
        target_compile_options(${fuzzer} PRIVATE ${FUZZ_FLAGS})
        target_link_options(${fuzzer} PRIVATE ${FUZZ_FLAGS})
        target_link_libraries(${fuzzer} PRIVATE ZLIB::ZLIB)
    endforeach()
endif()
