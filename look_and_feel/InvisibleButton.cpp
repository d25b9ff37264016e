#include "look_and_feel/InvisibleButton.h"

#include "look_and_feel/Palette.h"

namespace
{
    class InvisibleButtonHandler final : public juce::AccessibilityHandler
    {
    public:
        explicit InvisibleButtonHandler (InvisibleButton& buttonToWrap)
            : AccessibilityHandler (buttonToWrap,
                                    buttonToWrap.isToggleable() ? juce::AccessibilityRole::toggleButton : juce::AccessibilityRole::button,
                                    actionsFor (buttonToWrap))
            , button (buttonToWrap)
        {
        }

        juce::AccessibleState getCurrentState() const override
        {
            auto state = AccessibilityHandler::getCurrentState();

            if (button.isToggleable())
            {
                state = state.withCheckable();

                if (button.getToggleState())
                    state = state.withChecked();
            }

            return state;
        }

        juce::String getTitle() const override { return button.liveTitle ? button.liveTitle() : AccessibilityHandler::getTitle(); }
        juce::String getDescription() const override { return button.liveDescription ? button.liveDescription() : AccessibilityHandler::getDescription(); }
        juce::String getHelp() const override { return button.liveHelp ? button.liveHelp() : AccessibilityHandler::getHelp(); }

    private:
        static juce::AccessibilityActions actionsFor (InvisibleButton& button)
        {
            // Both go through the click, where the owner carries out the command.
            auto actions = juce::AccessibilityActions().addAction (juce::AccessibilityActionType::press, [&button]
                                                                   { button.clickWithoutMouse(); });

            if (button.isToggleable())
                actions.addAction (juce::AccessibilityActionType::toggle, [&button]
                                   { button.clickWithoutMouse(); });

            return actions;
        }

        InvisibleButton& button;
    };
}

InvisibleButton::InvisibleButton (const juce::String& commandName, const juce::String& accessibleTitle, Kind kind)
{
    setName (commandName);
    setTitle (accessibleTitle);
    setAlpha (0.0f);
    setWantsKeyboardFocus (true);
    setToggleable (kind == Kind::selectable);
}

std::unique_ptr<InvisibleButton> InvisibleButton::addTo (juce::Component& owner, juce::Button::Listener& listener,
                                                         const juce::String& commandName, const juce::String& accessibleTitle, Kind kind)
{
    auto button = std::make_unique<InvisibleButton> (commandName, accessibleTitle, kind);
    owner.addAndMakeVisible (*button);
    button->addListener (&listener);
    return button;
}

juce::Colour InvisibleButton::faceColour (bool pressed, bool hovered)
{
    if (pressed)
        return colour_green;

    return colour_text_dim.withAlpha (hovered ? 0.75f : 0.5f);
}

juce::Colour InvisibleButton::faceColourOf (const juce::Button& button)
{
    return faceColour (button.isDown(), button.isOver());
}

juce::Colour InvisibleButton::heldFaceColourOf (const juce::Button& button)
{
    // isDown() alone turns false once the pointer leaves while the mouse button is held;
    // it still covers the brief press a key shows.
    return faceColour (button.isMouseButtonDown() || button.isDown(), button.isMouseOver());
}

void InvisibleButton::clickWithoutMouse()
{
    lastClickWithoutMouse = true;
    triggerClick();
}

bool InvisibleButton::keyPressed (const juce::KeyPress& key)
{
    if (isEnabled() && (key.isKeyCode (juce::KeyPress::returnKey) || key.isKeyCode (juce::KeyPress::spaceKey)))
    {
        clickWithoutMouse();
        return true;
    }

    return false;
}

void InvisibleButton::mouseDown (const juce::MouseEvent& event)
{
    lastClickWithoutMouse = false;
    TextButton::mouseDown (event);
}

void InvisibleButton::mouseUp (const juce::MouseEvent& event)
{
    TextButton::mouseUp (event);

    // Released off the button its state does not change, but a held face must go.
    repaint();
}

std::unique_ptr<juce::AccessibilityHandler> InvisibleButton::createAccessibilityHandler()
{
    return std::make_unique<InvisibleButtonHandler> (*this);
}
