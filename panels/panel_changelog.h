#pragma once

#include "panels/OverlayPanel.h"

// The release notes, rendered from a small Markdown subset.
class panel_changelog final : public OverlayPanel
{
public:
    panel_changelog (juce::String notes, juce::String productNameToShow);
    ~panel_changelog() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;

    juce::String productName;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (panel_changelog)
};
