#pragma once

#include <juce_core/juce_core.h>

// Component names of the six extras buttons, which are also their command names.
inline const juce::StringArray extraButtonNames { "EULA", "MANUAL", "WEBSITE", "SUPPORT", "SETTINGS", "CHANGES" };
