# Our own code builds with warnings as errors; JUCE's headers come in as system headers,
# so their warnings never stop us. Every target of ours comes through here, so this is also
# where the sanitizer builds instrument our code.

function(kv_enable_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX)
    else()
        target_compile_options(${target} PRIVATE
            -Wall -Wextra -Werror -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
            -Wno-missing-field-initializers)
    endif()

    if(KV_SANITIZER_FLAGS)
        target_compile_options(${target} PRIVATE ${KV_SANITIZER_FLAGS})
    endif()
endfunction()
