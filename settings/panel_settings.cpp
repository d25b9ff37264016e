#include "settings/panel_settings.h"

panel_settings::panel_settings (const juce::File& f, DestinationCallback cb) : settingsFile (f), destinationCallback (std::move (cb)) { createCloseButton(); }
panel_settings::~panel_settings() = default;
void panel_settings::paint (juce::Graphics& g) { paintFrame (g, "SETTINGS"); }
void panel_settings::resized() { layoutCloseButton(); }
void panel_settings::buttonClicked (juce::Button* b) { if (b->getName() == "X") closePanel(); }
