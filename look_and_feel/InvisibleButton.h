#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

// A clickable area its owner paints: a fully transparent TextButton, named with its command,
// that a screen reader can name and the keyboard can press with Return or space.
class InvisibleButton final : public juce::TextButton
{
public:
    enum class Kind
    {
        plain,
        selectable // a format tile: its toggle state is the selection, read out as checked
    };

    InvisibleButton (const juce::String& commandName, const juce::String& accessibleTitle, Kind kind = Kind::plain);

    // Made, shown in owner and reporting its clicks to listener: how every screen gets its
    // clickable areas.
    static std::unique_ptr<InvisibleButton> addTo (juce::Component& owner, juce::Button::Listener& listener,
                                                   const juce::String& commandName, const juce::String& accessibleTitle,
                                                   Kind kind = Kind::plain);

    // The face its owner paints under it: green while pressed, brighter while hovered.
    static juce::Colour faceColourOf (const juce::Button&);

    // The same face, kept green while a mouse button stays down on the button, even with
    // the pointer dragged off it until the release: the main screen's buttons.
    static juce::Colour heldFaceColourOf (const juce::Button&);

    // True when the last click came from a key or a screen reader, not from the mouse.
    bool clickedWithoutMouse() const noexcept { return lastClickWithoutMouse; }

    // Texts a screen reader asks for each time it reads the control; the fixed title (and
    // an empty description and help) when not set.
    std::function<juce::String()> liveTitle;
    std::function<juce::String()> liveDescription;
    std::function<juce::String()> liveHelp;

    bool keyPressed (const juce::KeyPress&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

    // A click from a key or a screen reader.
    void clickWithoutMouse();

private:
    static juce::Colour faceColour (bool pressed, bool hovered);

    bool lastClickWithoutMouse = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InvisibleButton)
};
