#pragma once

#include "panels/OverlayPanel.h"

// The licence agreement in a scrolling, word-wrapped box.
class panel_eula final : public OverlayPanel
{
public:
    explicit panel_eula (juce::String text);
    ~panel_eula() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;

    juce::String licenceText;
    std::unique_ptr<juce::TextEditor> textEditor;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (panel_eula)
};
