#pragma once

#include "fs/FsStatus.h"

namespace kv::messages
{
    // The system's own error in a form support can search for: "error 32, ERROR_SHARING_VIOLATION"
    // or "NTSTATUS 0xC0000043, STATUS_SHARING_VIOLATION" from Windows, "ENOSPC" here. Empty when
    // the system gave none.
    juce::String systemErrorText (const fs::SystemError& error);

    // The symbolic name of a code of each kind, or empty when this installer does not know it.
    juce::String posixErrorName (int error);
    juce::String win32ErrorName (juce::uint32 error);
    juce::String ntstatusName (juce::uint32 status);
}
