#pragma once

#include <juce_core/juce_core.h>

// The kept copy of the installer goes with the last format, also when it is the copy that is
// running: Windows does not delete a running program, so the folder is handed to a command
// that deletes it once this process has ended, as uninstallers do.
namespace kv::platform
{
    // True when the folder is gone or its removal is under way.
    bool removeFolderAfterExit (const juce::File& folder);
}
