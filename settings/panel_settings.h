#pragma once

#include "panels/OverlayPanel.h"
#include "settings/DestinationSettings.h"

#include <utility>
#include <vector>

// One row per format: the folder the settings file names, and BROWSE to choose another.
class panel_settings final : public OverlayPanel
{
public:
    panel_settings (const juce::File& settingsFileToEdit, DestinationCallback callback);
    ~panel_settings() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;

    // Where the chooser of a row opens: the folder its box names, when that folder exists.
    juce::File chooserStartingFolder (int row) const;
    juce::String chooserTitle (int row) const;

    // What happens when the chooser of a row closes; an empty File means it was cancelled.
    void chooserFinished (int row, const juce::File& result);

    // The completion handed to the chooser of a row. It does nothing once the panel is gone,
    // even if it outlives the chooser that should have taken it along.
    std::function<void (const juce::File&)> chooserCompletion (int row);

    juce::File settingsFile;
    DestinationCallback destinationCallback;

    // (label, attribute name), indexed by format.
    juce::Array<std::pair<juce::String, juce::String>> rows;
    std::vector<std::unique_ptr<juce::TextEditor>> pathEditors;
    std::vector<std::unique_ptr<juce::TextButton>> browseButtons;

    // Why the last folder chosen was not saved, and what to do; empty when it was.
    juce::String saveProblem;

    // Owned here so that closing the panel for good also drops a pending completion.
    std::unique_ptr<juce::FileChooser> chooser;

    static inline const juce::String noteText {
        "Destinations used by all Korvane installers. Please note that each format defaults to the 'correct' "
        "destination as determined by the entity in charge of that format. We recommend leaving these paths "
        "as-is. Otherwise, your mileage can and will vary."
    };

private:
    void openChooser (int row);
    juce::String saveProblemText (const juce::String& formatName, SaveResult result) const;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (panel_settings)
};
