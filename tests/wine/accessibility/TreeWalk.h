#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <map>

// What a screen reader is given for one control, read from JUCE's accessibility handlers as the
// platform's provider reads them.
struct ControlSeen
{
    juce::AccessibilityRole role = juce::AccessibilityRole::unspecified;
    juce::String title, description, help;
    bool focusable = false, checkable = false, checked = false;
};

// Every control under the handler, by title, walking the handlers' own children.
std::map<juce::String, ControlSeen> walkAccessibilityTree (const juce::AccessibilityHandler& root);

// The handler of the one control of that title under the root, or nullptr.
const juce::AccessibilityHandler* findByTitle (const juce::AccessibilityHandler& root, const juce::String& title);
