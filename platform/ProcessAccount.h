#pragma once

#include <juce_core/juce_core.h>

// Who runs the installer, for the head of a log: support asks first whether it was elevated.
namespace kv::platform
{
    juce::String operatingSystemDescription();
    juce::String accountName();
    bool isElevated();
}
