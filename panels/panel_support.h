#pragma once

#include "panels/OverlayPanel.h"

// Discord community, support e-mail and the about text.
class panel_support final : public OverlayPanel
{
public:
    panel_support();
    ~panel_support() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;

    // Set by the creator after construction; they go into the support e-mail.
    juce::String productName;
    juce::String productVersion;

    // Declared in this order so that they are destroyed icons first, then the buttons.
    std::unique_ptr<juce::TextButton> mailButton;
    std::unique_ptr<juce::TextButton> discordButton;
    std::unique_ptr<juce::Drawable> discordIcon;
    std::unique_ptr<juce::Drawable> mailIcon;

    static inline const juce::String discordExplanation {
        "The Korvane Discord is a vibrant community of musicians and producers, and this is the fastest way "
        "to get answers to simple questions. Just join and drop in the appropriate channel. "
    };
    static inline const juce::String mailExplanation {
        "If you have more complicated questions, or matters that need to remain private, concerning account "
        "information, etc., feel free to email us."
    };
    static juce::String aboutText();

private:
    void paintIconButton (juce::Graphics&, const juce::Button&, juce::Drawable*);
    void paintExplanation (juce::Graphics&, const juce::Button&, const juce::String& text);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (panel_support)
};
