# The native build of the pure code: AddressSanitizer and UndefinedBehaviorSanitizer throughout.
option(SCREENSHOT_SANITIZE "Build the host core and tests with ASan and UBSan" ON)
if(SCREENSHOT_SANITIZE)
    set(SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(${SANITIZER_FLAGS})
    add_link_options(${SANITIZER_FLAGS})
endif()
