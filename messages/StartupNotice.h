#pragma once

#include "install/Install.h"

namespace kv::messages
{
    // What the start-up recovery must tell before anything else: copies it could not put back,
    // and work it left for the next start because another installer held the lock. Empty when
    // there is nothing to tell.
    juce::String startupNotice (const install::RecoveryResult& recovered);
}
