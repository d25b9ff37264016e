#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "look_and_feel/InvisibleButton.h"

// What the four overlay panels share: the layout unit, the invisible close button in the
// top-right corner, the opaque background with the title, and closing by taking itself
// out of the main screen (the main screen keeps owning it). An open panel keeps the
// keyboard focus among its own controls; Escape closes it.
class OverlayPanel : public juce::Component,
                     public juce::Button::Listener
{
public:
    OverlayPanel();
    ~OverlayPanel() override;

    // Set by the creator to the main screen's unit before the first layout.
    float unit = 9.0f;
    std::unique_ptr<juce::TextButton> closeButton;

    // Takes the panel out of its parent; it stays allocated. The focus goes back to
    // returnFocusTo when the panel had it.
    void closePanel();
    juce::Component::SafePointer<juce::Component> returnFocusTo;

    // Gives the keyboard focus to the panel's first control.
    void focusFirstControl();

    bool keyPressed (const juce::KeyPress&) override;
    void paintOverChildren (juce::Graphics&) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

protected:
    void createCloseButton();
    void layoutCloseButton();

    // Background, the title (when not empty) and the close affordance.
    void paintFrame (juce::Graphics&, const juce::String& title);

    juce::Rectangle<int> scaled (float x, float y, float w, float h) const;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OverlayPanel)
};
