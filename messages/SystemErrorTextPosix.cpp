#include "messages/SystemErrorText.h"

#include <cstring>

namespace kv::messages
{
    // The C library names its own errors ("ENOSPC"); a code it does not know has no name.
    juce::String posixErrorName (int error)
    {
        const auto* name = ::strerrorname_np (error);
        return name != nullptr ? juce::String (name) : juce::String();
    }
}
