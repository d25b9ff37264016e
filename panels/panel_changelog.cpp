#include "panels/panel_changelog.h"

panel_changelog::panel_changelog (juce::String, juce::String productNameToShow) : productName (std::move (productNameToShow)) { createCloseButton(); }
panel_changelog::~panel_changelog() = default;
void panel_changelog::paint (juce::Graphics& g) { paintFrame (g, "CHANGELOG - " + productName.toUpperCase()); }
void panel_changelog::resized() { layoutCloseButton(); }
void panel_changelog::buttonClicked (juce::Button*) { closePanel(); }
