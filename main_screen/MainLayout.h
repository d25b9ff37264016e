#pragma once

#include "identity/FormatTable.h"
#include "look_and_feel/UnitGeometry.h"

// The main screen's geometry: everything is a multiple of the unit, one hundredth of the
// screen's width, rounded to whole pixels.
namespace main_layout
{
    // Three columns of two: EULA, MANUAL | WEBSITE, SUPPORT | SETTINGS, CHANGES.
    inline juce::Rectangle<int> extraButton (int k, float unit)
    {
        return unit_geometry::scaled (unit, 4.0f + 17.0f * (float) (k / 2), 74.0f + 5.0f * (float) (k % 2), 16.0f, 4.0f);
    }

    // Where each format's tile stands, in units, by format index: two columns, row by row.
    inline constexpr juce::Point<float> formatTileOrigins[] { { 4.0f, 30.0f }, { 51.0f, 30.0f }, { 4.0f, 42.0f } };
    static_assert (std::size (formatTileOrigins) == (size_t) numFormats, "every format in the table needs a place for its tile");

    inline juce::Rectangle<int> formatButton (int i, float unit)
    {
        const auto origin = formatTileOrigins[i];
        return unit_geometry::scaled (unit, origin.x, origin.y, 45.0f, 10.0f);
    }

    inline juce::Rectangle<int> installButton (float unit) { return unit_geometry::scaled (unit, 86.0f, 73.5f, 10.0f, 10.0f); }
    inline juce::Rectangle<int> selectAllButton (float unit) { return unit_geometry::scaled (unit, 77.0f, 22.0f, 19.0f, 5.0f); }
    inline juce::Rectangle<int> helpLabel (float unit) { return unit_geometry::scaled (unit, 4.0f, 90.0f, 92.0f, 3.0f); }

    // Between the tiles and EXTRAS: a notice from the start, with the text inside it and the
    // cross that dismisses it at its top right.
    inline juce::Rectangle<float> noticeArea (float unit) { return unit_geometry::scaledFloat (unit, 4.0f, 53.5f, 92.0f, 12.5f); }
    inline juce::Rectangle<float> noticeTextArea (float unit) { return unit_geometry::scaledFloat (unit, 5.5f, 54.5f, 86.0f, 10.5f); }
    inline juce::Rectangle<float> noticeCross (float unit) { return unit_geometry::scaledFloat (unit, 92.5f, 55.0f, 2.0f, 2.0f); }

    // The area of the format tiles, where the outcome of a pass is shown.
    inline juce::Rectangle<float> outcomeArea (float unit)
    {
        return unit_geometry::scaledFloat (unit, 4.0f, 28.0f, 92.0f, 38.0f);
    }
}
