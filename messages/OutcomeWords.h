#pragma once

#include "install/Install.h"

namespace kv::messages
{
    // What the screen knew before a pass: the installed versions later than the one carried,
    // by format (empty where not), so that the outcome can say an older copy took their place.
    struct NewerCopies
    {
        FormatArray<juce::String> installedVersions;
        juce::String carriedVersion;
    };

    // The outcome's headline: "SUCCESS!", "INSTALL FAILED" or "UNINSTALL FAILED".
    juce::String headline (const install::InstallReport& report);

    // The note above the success view's icon: each newer copy replaced, then the fates of the
    // old copies. Empty when there is nothing to tell.
    juce::String successNote (const install::InstallReport& report, const NewerCopies& newer = {});

    // The failure view's words: a line for each format, what became of the copies of those that
    // did succeed, what to do (once for each kind of failure), and any newer copy replaced.
    juce::String failureDetails (const install::InstallReport& report, const NewerCopies& newer = {});

    // What a pass says, whichever view shows it.
    juce::String outcomeWords (const install::InstallReport& report, const NewerCopies& newer = {});
}
