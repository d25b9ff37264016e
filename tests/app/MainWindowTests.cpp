#include <gtest/gtest.h>
#include "messages/Messages.h"

#include "app/KvInstallerApplication.h"
#include "app/RepaintFallback.h"
#include "look_and_feel/Palette.h"
#include "main_screen/MainComponent.h"
#include "main_screen/MainLayout.h"
#include "main_screen/OutcomeNote.h"
#include "support/Sandbox.h"

using namespace kv::install;

// These open a real window, so they run only as their own CTest entry, which holds the
// display for itself (see tests/window/CMakeLists.txt).
static bool windowTestsEnabled()
{
    return juce::SystemStats::getEnvironmentVariable ("KV_WINDOW_UNIT_TESTS", {}) == "1";
}

TEST (AppShellWindow, OpensCentredSquareAndStaysSquare)
{
    if (! windowTestsEnabled())
        GTEST_SKIP() << "needs the display to itself";

    kv::test::Sandbox sandbox;
    {
        kv_installerApplication::MainWindow window ("kv_installer");

        EXPECT_EQ (window.getName(), "kv_installer");
        EXPECT_TRUE (window.isVisible());
        EXPECT_TRUE (window.isUsingNativeTitleBar());
        EXPECT_TRUE (window.isResizable());
        EXPECT_EQ (window.getDesktopWindowStyleFlags() & juce::ComponentPeer::windowHasCloseButton, juce::ComponentPeer::windowHasCloseButton);
        ASSERT_NE (dynamic_cast<MainComponent*> (window.getContentComponent()), nullptr);
        EXPECT_EQ (window.getContentComponent()->getBounds().getWidth(), 600);
        EXPECT_EQ (window.getContentComponent()->getHeight(), 600);

        const auto display = juce::Desktop::getInstance().getDisplays().getDisplayForRect (window.getScreenBounds());
        ASSERT_NE (display, nullptr);
        EXPECT_NEAR (window.getBounds().getCentreX(), display->userArea.getCentreX(), 2);

        // A drag of the frame goes through the window's constrainer: width and height move
        // together and never below 128.
        auto* constrainer = window.getConstrainer();
        ASSERT_NE (constrainer, nullptr);
        EXPECT_EQ (constrainer->getFixedAspectRatio(), 1.0);

        const auto old = window.getBounds();
        auto dragged = old.withSize (800, 650);
        constrainer->checkBounds (dragged, old, display->userArea.withSize (4000, 4000), false, false, true, true);
        EXPECT_EQ (dragged.getWidth(), dragged.getHeight());

        auto tiny = old.withSize (40, 30);
        constrainer->checkBounds (tiny, old, display->userArea.withSize (4000, 4000), false, false, true, true);
        EXPECT_GE (tiny.getWidth(), 128);
        EXPECT_EQ (tiny.getWidth(), tiny.getHeight());

        window.setBounds (old.withSize (900, 900));
        EXPECT_FLOAT_EQ (dynamic_cast<MainComponent*> (window.getContentComponent())->unit, 9.0f);
    }
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}

namespace
{
    // The note's colour, however faint its smoothing at small sizes: red well above blue,
    // and not the icon's green.
    bool yellowish (juce::Colour c)
    {
        return c.getRed() > c.getBlue() + 24 && c.getRed() >= c.getGreen();
    }

    FormatOutcome inUse (int formatIndex, bool removalScheduled)
    {
        FormatOutcome outcome;
        outcome.formatIndex = formatIndex;
        outcome.stillInUse = juce::File ("/leftover" + juce::String (formatIndex));
        outcome.removalScheduled = removalScheduled;
        return outcome;
    }
}

TEST (AppShellWindow, TheInUseNoteIsReadInFullAtTheSmallestWindowAndAtTheFirst)
{
    if (! windowTestsEnabled())
        GTEST_SKIP() << "needs the display to itself";

    kv::test::Sandbox sandbox;
    {
        kv_installerApplication::MainWindow window ("kv_installer");
        auto& screen = *dynamic_cast<MainComponent*> (window.getContentComponent());

        // As small as a drag of the frame can make it.
        auto smallest = window.getBounds().withSize (1, 1);
        window.getConstrainer()->checkBounds (smallest, window.getBounds(), { 0, 0, 4000, 4000 }, false, false, true, true);

        for (const auto size : { smallest.getWidth(), 600 })
        {
            for (const auto uninstall : { false, true })
            {
                SCOPED_TRACE (juce::String (size) + (uninstall ? " px, uninstall" : " px, install"));
                window.setSize (size, size);
                ASSERT_EQ (screen.getWidth(), size);

                // All three still in use, with both fates: two sentences.
                screen.installReport = {};
                screen.installReport.uninstall = uninstall;
                screen.installReport.outcomes = { inUse (0, true), inUse (1, false), inUse (2, true) };
                screen.installDone = true;

                const auto words = kv::messages::successNote (screen.installReport);
                for (const auto* name : { "VST3 and AAX", "CLAP", "when Windows restarts.", "the next time the installer starts." })
                    EXPECT_TRUE (words.contains (name)) << words;

                const auto u = screen.unit;
                const auto area = main_layout::outcomeArea (u);
                const auto note = outcome_note::fit (words, screen.customLookAndFeel.regularFont (2.5f * u), area, u, colour_yellow);

                // Every character is on a line: nothing is cut short.
                std::vector<bool> laidOut ((size_t) words.length(), false);
                for (int l = 0; l < note.text.getNumLines(); ++l)
                    for (auto i = note.text.getLine (l).stringRange.getStart(); i < note.text.getLine (l).stringRange.getEnd(); ++i)
                        laidOut[(size_t) i] = true;
                int firstLeftOut = -1;
                for (int i = words.length(); --i >= 0;)
                    if (! laidOut[(size_t) i] && ! juce::CharacterFunctions::isWhitespace (words[i]))
                        firstLeftOut = i;
                EXPECT_EQ (firstLeftOut, -1) << "not drawn from: " << words.substring (firstLeftOut);

                // Not below the floor, inside the outcome area, and clear of the icon and of
                // "SUCCESS!" (8 units high at the area's bottom).
                EXPECT_GE (note.textHeight, outcome_note::floorHeightUnits * u - 0.001f);
                EXPECT_TRUE (area.contains (note.textArea)) << note.textArea.toString();
                EXPECT_LE (note.textArea.getBottom(), note.iconArea.getY());
                EXPECT_GT (note.iconArea.getHeight(), 0.0f);
                EXPECT_LE (note.iconArea.getBottom(), area.getBottom() - 8.0f * u);

                // The screen draws exactly that layout, and nothing else in the note's colour.
                juce::Image expected (juce::Image::RGB, size, size, true);
                {
                    juce::Graphics g (expected);
                    g.fillAll (colour_background);
                    note.text.draw (g, note.textArea);
                }
                const auto image = screen.createComponentSnapshot (screen.getLocalBounds(), false, 1.0f);
                int drawn = 0, differing = 0;
                for (int y = 0; y < size; ++y)
                {
                    for (int x = 0; x < size; ++x)
                    {
                        drawn += yellowish (expected.getPixelAt (x, y)) ? 1 : 0;
                        differing += yellowish (expected.getPixelAt (x, y)) != yellowish (image.getPixelAt (x, y)) ? 1 : 0;
                    }
                }
                EXPECT_GT (drawn, size / 4) << "no note drawn";
                EXPECT_EQ (differing, 0) << "the screen does not draw the whole note as laid out";
            }
        }
    }
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}

TEST (AppShellWindow, KeysBringBackTheRepaintFallbackAfterAStall)
{
    if (! windowTestsEnabled())
        GTEST_SKIP() << "needs the display to itself";

    // Windows, not Wine: the fallback works only while the display's vertical blanks stop.
    double now = 0.0;
    juce::Component window;
    window.setSize (100, 100);
    window.addToDesktop (0);
    window.setVisible (true);

    if (auto* focused = juce::Component::getCurrentlyFocusedComponent())
        focused->giveAwayKeyboardFocus();

    kv::app::RepaintFallback fallback (window, { true, []
                                                 { return false; },
                                                 [&now]
                                                 { return now; } });

    // The window's vertical blanks arrive, so the fallback stands down.
    for (int i = 0; i < 100 && fallback.isDispatching(); ++i)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    ASSERT_FALSE (fallback.isDispatching()) << "the fallback never stood down";

    // They stop; a key, down or up, brings the fallback back before any frame could.
    auto& peer = *window.getPeer();
    for (const auto keyDown : { true, false })
    {
        SCOPED_TRACE (keyDown ? "key down" : "key up");
        now += 1000.0;
        ASSERT_FALSE (fallback.isDispatching());

        if (keyDown)
            peer.handleKeyPress (juce::KeyPress ('a'));
        else
            peer.handleKeyUpOrDown (false);

        EXPECT_TRUE (fallback.isDispatching()) << "the key did not restart the repaints";

        // Frames come back: it stands down again.
        for (int i = 0; i < 100 && fallback.isDispatching(); ++i)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
        ASSERT_FALSE (fallback.isDispatching());
    }
}
