#include "identity/ProductConstants.h"
#include "panels/PanelLayout.h"
#include "panels/SupportMail.h"
#include "panels/panel_support.h"
#include "PanelTestSupport.h"

namespace
{
    using PanelSupport = kv::test::PanelTest;

    const SystemDescription windowsDesktop { "Windows 11", "Windows (Desktop)", "Intel(R) Core(TM) i7-9700K CPU @ 3.60GHz" };
}

TEST (PanelSupportMail, SubjectAndBodyAreEscapedAsTheMailProgramExpects)
{
    const auto uri = supportMailUri ("Strandline2", "2.3.0", windowsDesktop);
    EXPECT_TRUE (uri.startsWith ("mailto:" + product::supportMailAddress + "?subject=Strandline2%20help&body="));

    // Brackets stay, comma and '@' are escaped, lines end in LF only.
    EXPECT_EQ (uri.fromFirstOccurrenceOf ("&body=", false, false),
               "Product%3A%20Strandline2%202.3.0%0AOperating%20System%3A%20Windows%2011%0A"
               "Device%3A%20Windows%20(Desktop)%0A"
               "CPU%3A%20Intel(R)%20Core(TM)%20i7-9700K%20CPU%20%40%203.60GHz%0A%0A"
               "Your%20problem%2C%20and%20the%20steps%20to%20recreate%20it%2C%20if%20possible%3A%0A");

    // A processor without a brand string leaves its line empty.
    EXPECT_TRUE (supportMailBody ("Strandline2", "2.3.0", { "Windows 10", "Windows (Desktop)", {} }).contains ("\nCPU: \n\nYour problem"));
}

TEST (PanelSupportMail, HostileSystemStringsStillGiveOneValidUri)
{
    const SystemDescription hostile { "Win & Co?x=1#frag 100%", "Line one\nLine two\r\n+plus",
                                      juce::String::fromUTF8 ("Caf\xc3\xa9 \xe6\xbc\xa2 CPU&body=evil") };
    const auto body = supportMailBody ("Strandline2", "2.3.0", hostile);
    const auto uri = supportMailUri ("Strandline2", "2.3.0", hostile);

    const auto query = uri.fromFirstOccurrenceOf ("?", false, false);
    EXPECT_EQ (query.indexOf ("&body="), query.lastIndexOf ("&"));
    EXPECT_TRUE (query.fromFirstOccurrenceOf ("&body=", false, false)
                     .containsOnly ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.~()%"));

    // The framework reads back exactly the two parameters, and hands on the link unchanged.
    const juce::URL url (uri);
    EXPECT_EQ (url.getParameterNames(), juce::StringArray ("subject", "body"));
    EXPECT_EQ (url.getParameterValues(), juce::StringArray ("Strandline2 help", body));
    EXPECT_EQ (url.toString (true), uri);
}

TEST_F (PanelSupport, LaysOutOnTheUnitAndTextsLandInTheirAreas)
{
    panel_support panel;
    kv::test::showAt (panel, 6.0f);
    const auto discord = panel.discordButton->getBounds();

    EXPECT_EQ (discord, juce::Rectangle<int> (60, 90, 60, 60));
    EXPECT_EQ (panel.mailButton->getBounds(), juce::Rectangle<int> (60, 210, 60, 60));
    EXPECT_EQ (panel_layout::explanationBounds (discord.toFloat(), 6.0f), juce::Rectangle<int> (132, 90, 420, 180));
    EXPECT_EQ (panel_layout::aboutTextBounds (6.0f), juce::Rectangle<int> (60, 390, 480, 180));
    EXPECT_EQ (panel_layout::copyrightOrigin (6.0f), juce::Point<int> (60, 528));

    const auto image = kv::test::render (panel);

    // No title line: the Discord heading holds the top-left corner.
    const auto heading = kv::test::inkBounds (image, { 0, 0, 500, 88 });
    EXPECT_GE (heading.getX(), 60);
    EXPECT_GE (heading.getY(), 42);

    const auto explanation = kv::test::inkBounds (image, { 124, 88, 476, 72 });
    EXPECT_TRUE (juce::Rectangle<int> (132, 90, 420, 180).contains (explanation));

    // The version sentence ends its line: the about text takes more than one.
    const auto about = kv::test::inkBounds (image, { 0, 380, 600, 120 });
    EXPECT_TRUE (juce::Rectangle<int> (60, 390, 480, 180).contains (about));
    EXPECT_GT (about.getHeight(), 30);

    const auto copyright = kv::test::inkBounds (image, { 0, 500, 600, 100 });
    EXPECT_GT (copyright.getY(), 510);
    EXPECT_LT (copyright.getBottom(), 536);
}

TEST_F (PanelSupport, IconFacesFollowHoverAndPressAndShowTintedIcons)
{
    panel_support panel;
    kv::test::showAt (panel, 6.0f);
    ASSERT_NE (panel.discordIcon, nullptr);
    ASSERT_NE (panel.mailIcon, nullptr);

    auto& discord = *panel.discordButton;
    const auto probe = juce::Point<int> (discord.getX() + 6, discord.getBounds().getCentreY());
    const auto resting = kv::test::over (colour_background, colour_text_dim, 0.5f);

    EXPECT_TRUE (kv::test::looksLike (kv::test::render (panel).getPixelAt (probe.x, probe.y), resting));
    discord.setState (juce::Button::buttonOver);
    EXPECT_TRUE (kv::test::looksLike (kv::test::render (panel).getPixelAt (probe.x, probe.y),
                                      kv::test::over (colour_background, colour_text_dim, 0.75f)));
    discord.setState (juce::Button::buttonDown);
    const auto image = kv::test::render (panel);
    EXPECT_EQ (image.getPixelAt (probe.x, probe.y), colour_green);
    EXPECT_TRUE (kv::test::looksLike (image.getPixelAt (66, 240), resting));

    // The black artwork comes out in the surface colour, inside the inset icon area.
    const auto icon = kv::test::inkBounds (image, discord.getBounds().reduced (6), colour_green, 40);
    EXPECT_TRUE (juce::Rectangle<int> (71, 101, 38, 38).contains (icon));
    bool sawSurface = false;

    for (int y = icon.getY(); y < icon.getBottom(); ++y)
        for (int x = icon.getX(); x < icon.getRight(); ++x)
        {
            sawSurface = sawSurface || image.getPixelAt (x, y) == colour_surface;
            ASSERT_GE (image.getPixelAt (x, y).getRed(), colour_surface.getRed());
        }

    EXPECT_TRUE (sawSurface);
}
