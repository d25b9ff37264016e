#pragma once

#include <juce_core/juce_core.h>

// The window's name and control type as a UI Automation client reads them through Windows'
// core API (UiaNodeFromHandle, UiaGetPropertyValue), looked up at run time. Only the root:
// under Wine 8, navigating to its first child never returns. Empty when the API is missing.
struct UiaRoot
{
    bool available = false;
    juce::String name;
    int controlType = 0;
};

UiaRoot readUiaRoot (void* windowHandle);
