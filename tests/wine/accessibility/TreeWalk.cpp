#include "TreeWalk.h"

static void walk (const juce::AccessibilityHandler& handler, std::map<juce::String, ControlSeen>& seen)
{
    for (auto* child : handler.getChildren())
    {
        const auto state = child->getCurrentState();
        ControlSeen control;
        control.role = child->getRole();
        control.title = child->getTitle();
        control.description = child->getDescription();
        control.help = child->getHelp();
        control.focusable = state.isFocusable();
        control.checkable = state.isCheckable();
        control.checked = state.isChecked();
        seen[control.title] = control;
        walk (*child, seen);
    }
}

std::map<juce::String, ControlSeen> walkAccessibilityTree (const juce::AccessibilityHandler& root)
{
    std::map<juce::String, ControlSeen> seen;
    walk (root, seen);
    return seen;
}

const juce::AccessibilityHandler* findByTitle (const juce::AccessibilityHandler& root, const juce::String& title)
{
    for (auto* child : root.getChildren())
    {
        if (child->getTitle() == title)
            return child;
        if (const auto* found = findByTitle (*child, title))
            return found;
    }

    return nullptr;
}
