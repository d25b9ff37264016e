#include "panels/panel_support.h"

panel_support::panel_support() { createCloseButton(); }
panel_support::~panel_support() = default;
void panel_support::paint (juce::Graphics& g) { paintFrame (g, {}); }
void panel_support::resized() { layoutCloseButton(); }
void panel_support::buttonClicked (juce::Button* b) { if (b->getName() == "X") closePanel(); }
