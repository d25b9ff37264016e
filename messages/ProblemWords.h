#pragma once

#include "install/Install.h"

namespace kv::messages
{
    // What went wrong for one format, as the end of "VST3 was not installed: ...".
    juce::String problemPhrase (install::InstallProblem problem, bool uninstall);

    // What to do about a problem, or empty when there is nothing a person can do.
    juce::String adviceFor (install::InstallProblem problem);

    // One failed format's line: what went wrong, where and what the system said, then what
    // became of the copy that was there and of what the pass unpacked.
    juce::String failureLine (const install::FormatOutcome& outcome, bool uninstall);
}
