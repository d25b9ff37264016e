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

    juce::String productName;
    juce::String productVersion;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (panel_support)
};
