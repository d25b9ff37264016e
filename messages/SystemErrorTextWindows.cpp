#include "messages/SystemErrorText.h"

namespace kv::messages
{
    // The Windows build's file work answers with Win32 errors and NTSTATUS codes only.
    juce::String posixErrorName (int) { return {}; }
}
