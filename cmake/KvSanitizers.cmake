# Optional instrumented builds, for everything including JUCE:
#   KV_SANITIZE=ON  AddressSanitizer + UndefinedBehaviorSanitizer, any report is fatal
#   KV_FUZZ=ON      the same plus libFuzzer coverage (needs clang); builds the fuzz targets

option(KV_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(KV_FUZZ "Build the libFuzzer targets (clang only)" OFF)

if(KV_SANITIZE OR KV_FUZZ)
    set(kv_sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

    if(KV_FUZZ)
        if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
            message(FATAL_ERROR "KV_FUZZ needs clang: configure with -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "
                                "(Debian packages 'clang' and 'libclang-rt-14-dev').")
        endif()
        list(APPEND kv_sanitizer_flags -fsanitize=fuzzer-no-link)
    endif()

    add_compile_options(${kv_sanitizer_flags})
    add_link_options(-fsanitize=address,undefined)
endif()
