#include "support/MainScreenFixture.h"

using Fixture = kv::test::MainScreenFixture;
using kv::test::coloursClose;

namespace
{
    // A point inside each tile that no text, icon or outline covers.
    juce::Point<int> tileProbe (int formatIndex)
    {
        return formatIndex == 1 ? juce::Point<int> { 567, 210 } : juce::Point<int> { 285, formatIndex == 0 ? 210 : 282 };
    }

    juce::Colour over (juce::Colour colour) { return colour_background.overlaidWith (colour); }
}

TEST_F (Fixture, HeaderSectionsAndTilesByStatus)
{
    defaultBundle (1).createDirectory(); // installed, no version resource
    auto& s = build();
    s.formatSelected = { false, false, false };
    const auto image = render();

    EXPECT_EQ (image.getPixelAt (300, 2), colour_blue);
    EXPECT_EQ (image.getPixelAt (300, 20), colour_background);
    EXPECT_TRUE (coloursClose (image.getPixelAt (300, 165), colour_text_dim)) << "FORMATS rule";

    EXPECT_TRUE (coloursClose (image.getPixelAt (tileProbe (0).x, tileProbe (0).y), over (colour_text_dim.withAlpha (0.35f))));
    EXPECT_TRUE (coloursClose (image.getPixelAt (tileProbe (1).x, tileProbe (1).y), over (colour_blue.withAlpha (0.9f))));
    EXPECT_TRUE (coloursClose (image.getPixelAt (tileProbe (2).x, tileProbe (2).y), over (colour_text_dim.withAlpha (0.35f))));

    // Resting extras face and the SELECT ALL face.
    EXPECT_TRUE (coloursClose (image.getPixelAt (30, 456), over (colour_text_dim.withAlpha (0.5f))));
    EXPECT_TRUE (coloursClose (image.getPixelAt (470, 147), over (colour_text_dim.withAlpha (0.1f))));
}

TEST_F (Fixture, SelectedTileHasAYellowOutline)
{
    auto& s = build();
    s.formatSelected = { true, false, false };
    const auto image = render();

    EXPECT_TRUE (coloursClose (image.getPixelAt (159, 180), colour_yellow));
    EXPECT_FALSE (coloursClose (image.getPixelAt (441, 180), colour_yellow));
}

TEST_F (Fixture, StatusIsReadAfreshAtEveryPaint)
{
    auto& s = build();
    EXPECT_EQ (s.statusOf (0).status, FormatStatus::notInstalled);

    defaultBundle (0).createDirectory();
    EXPECT_EQ (s.statusOf (0).status, FormatStatus::installed);
    const auto image = render();
    EXPECT_TRUE (coloursClose (image.getPixelAt (tileProbe (0).x, tileProbe (0).y), over (colour_blue.withAlpha (0.9f))));
}

TEST_F (Fixture, SuccessViewReplacesTheTiles)
{
    auto& s = build();
    s.installDone = true;
    const auto image = render();

    EXPECT_EQ (image.getPixelAt (tileProbe (0).x, tileProbe (0).y), colour_background);
    EXPECT_EQ (image.getPixelAt (470, 147), colour_background) << "no SELECT ALL face";

    EXPECT_GT (kv::test::countColour (image, { 96, 240, 408, 84 }, colour_green), 200) << "the install icon is drawn in green";

    const auto light = kv::test::countPixels (image, { 24, 330, 552, 66 }, [] (juce::Colour pixel)
                                              { return kv::test::looksLike (pixel, colour_text, 10); });
    EXPECT_GT (light, 100) << "SUCCESS! is written under it";

    // The icon goes back to its resting tint after the paint: no green is left in it.
    render();
    const auto icon = kv::test::drawingOf (*s.installIcon, 64, 64);
    EXPECT_GT (kv::test::countColour (icon, icon.getBounds(), colour_surface), 0);
    EXPECT_EQ (kv::test::countColour (icon, icon.getBounds(), colour_green), 0);
}

TEST_F (Fixture, InstallCaptionFollowsShift)
{
    auto& s = build();
    const auto before = render();
    s.modifierKeysChanged (juce::ModifierKeys (juce::ModifierKeys::shiftModifier));
    const auto after = render();

    int differing = 0;
    for (int y = 501; y < 522; ++y)
        for (int x = 500; x < 590; ++x)
            differing += before.getPixelAt (x, y) != after.getPixelAt (x, y) ? 1 : 0;

    EXPECT_GT (differing, 20) << "the caption under INSTALL changes to UNINSTALL";
}

TEST_F (Fixture, ARefusedEmbeddedTypefaceFallsBackToTheDefaultFont)
{
    auto& s = build();
    s.customLookAndFeel.regularTypeface = nullptr; // as when the platform refuses the font
    s.setSize (700, 700);
    s.setSize (600, 600);

    const auto image = render();
    const auto title = kv::test::countPixels (image, { 24, 48, 300, 60 }, [] (juce::Colour c)
                                              { return c.getBrightness() > 0.5f; });
    EXPECT_GT (title, 200) << "the product name is still written";

    s.installDone = true;
    EXPECT_GT (kv::test::countPixels (render(), { 24, 168, 552, 228 }, [] (juce::Colour c)
                                      { return c.getBrightness() > 0.8f; }),
               100)
        << "SUCCESS! is still written";
}
