# Optional instrumented builds of our own code (JUCE itself stays uninstrumented, which keeps
# these builds quick; the sanitizers' runtimes are linked into every executable):
#   KV_SANITIZE=ON  AddressSanitizer + UndefinedBehaviorSanitizer, any report is fatal
#   KV_FUZZ=ON      the same plus libFuzzer coverage (needs clang); builds the fuzz targets

option(KV_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(KV_FUZZ "Build the libFuzzer targets (clang only)" OFF)

set(KV_SANITIZER_FLAGS "")

if(KV_SANITIZE OR KV_FUZZ)
    # Some optimisation keeps the instrumented test suite quick enough to run on every change.
    set(KV_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -O1)

    if(KV_FUZZ)
        if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
            message(FATAL_ERROR "KV_FUZZ needs clang: configure with -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "
                                "(Debian packages 'clang' and 'libclang-rt-14-dev').")
        endif()
        list(APPEND KV_SANITIZER_FLAGS -fsanitize=fuzzer-no-link)
    endif()

    add_link_options(-fsanitize=address,undefined)
endif()
