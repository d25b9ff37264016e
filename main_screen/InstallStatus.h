#pragma once

#include "identity/BundleLocation.h"

// Where a format's installed bundle is, which file inside it carries the version, and
// what the screen says about it. Nothing here is cached: the disk is asked every time.

enum class FormatStatus
{
    notInstalled,
    installed,
    needsUpdate
};

struct FormatState
{
    FormatStatus status = FormatStatus::notInstalled;
    juce::String version; // empty when not installed or when the module has no version

    // Installed in a later version than the one carried: a pass would put an older one in its place.
    bool newerThanCarried = false;
};

namespace install_status
{
    juce::File versionFileIn (const juce::File& bundle, const juce::String& productName, int formatIndex);

    // The module's fixed file version as "a.b.c.d", or empty.
    juce::String readInstalledVersion (const juce::File& versionFile);

    FormatState stateOf (const juce::File& bundle, const juce::File& versionFile, const juce::String& productVersion);
    FormatState stateForVersion (const juce::String& installedVersion, const juce::String& productVersion);

    // Dotted versions part by part as numbers, a missing part counting as 0: "2.3.0.0" is
    // "2.3.0", and "2.10" is later than "2.9". Negative, 0 or positive.
    int compareVersions (const juce::String& a, const juce::String& b);

    juce::String statusText (const FormatState& state);
}
