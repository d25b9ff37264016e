#include "platform/SelfRemoval.h"

namespace kv::platform
{
    bool removeFolderAfterExit (const juce::File& folder)
    {
        // A running program's file can be unlinked here.
        return folder.deleteRecursively();
    }
}
