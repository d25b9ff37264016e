#pragma once

#include "panels/OverlayPanel.h"
#include "settings/DestinationSettings.h"

// One row per format: the folder the settings file names, and BROWSE to choose another.
class panel_settings final : public OverlayPanel
{
public:
    panel_settings (const juce::File& settingsFileToEdit, DestinationCallback callback);
    ~panel_settings() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;

    juce::File settingsFile;
    DestinationCallback destinationCallback;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (panel_settings)
};
