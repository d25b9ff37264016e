#pragma once

#include <juce_graphics/juce_graphics.h>

// Appends one line of release-notes text to an AttributedString, turning **bold** and
// *italic* spans into runs of those fonts and dropping their asterisks. An asterisk that
// opens no non-empty span stays as it is.
void appendStyledRuns (juce::AttributedString& attributedString, const juce::String& text,
                       const juce::Font& regularFont, const juce::Font& boldFont, const juce::Font& italicFont,
                       juce::Colour colour);
