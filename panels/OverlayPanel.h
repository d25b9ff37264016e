#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// What the four overlay panels share: the layout unit, the invisible close button in the
// top-right corner, the opaque background with the title, and closing by taking itself
// out of the main screen (the main screen keeps owning it).
class OverlayPanel : public juce::Component,
                     public juce::Button::Listener
{
public:
    OverlayPanel();
    ~OverlayPanel() override;

    // Set by the creator to the main screen's unit before the first layout.
    float unit = 9.0f;
    std::unique_ptr<juce::TextButton> closeButton;

    // Takes the panel out of its parent; it stays allocated.
    void closePanel();

protected:
    // An invisible button: it only gives the hit area, hover, press and click.
    std::unique_ptr<juce::TextButton> makeInvisibleButton (const juce::String& name);
    void createCloseButton();
    void layoutCloseButton();

    // Background, the title (when not empty) and the close affordance.
    void paintFrame (juce::Graphics&, const juce::String& title);

    // The face an invisible button gets: green while pressed, brighter while hovered.
    static juce::Colour buttonFaceColour (const juce::Button&);

    juce::Rectangle<int> scaled (float x, float y, float w, float h) const;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OverlayPanel)
};
