#include <gtest/gtest.h>

#include "app/KvInstallerApplication.h"
#include "main_screen/MainComponent.h"
#include "panels/panel_eula.h"
#include "support/Sandbox.h"

// The keyboard alone, through the real window's key handling: focus order, activation,
// Escape, and the focus kept inside an open panel. Runs as the window.main_window entry.

namespace
{
    bool windowTestsEnabled()
    {
        return juce::SystemStats::getEnvironmentVariable ("KV_WINDOW_UNIT_TESTS", {}) == "1";
    }

    void pump (int ms = 40) { juce::MessageManager::getInstance()->runDispatchLoopUntil (ms); }

    juce::String press (juce::ComponentPeer& peer, const juce::KeyPress& key)
    {
        peer.handleKeyPress (key);
        pump();
        auto* focused = juce::Component::getCurrentlyFocusedComponent();
        return focused != nullptr ? focused->getName() : juce::String ("(none)");
    }

    // The real window in front. Its own focus events settle first, and the window hands its
    // focus to the main screen.
    struct FrontWindow
    {
        FrontWindow()
        {
            window.toFront (true);
            pump (1000);
        }

        kv_installerApplication::MainWindow window { "kv_installer" };
        MainComponent& screen = *dynamic_cast<MainComponent*> (window.getContentComponent());
        juce::ComponentPeer& peer = *window.getPeer();
    };

    const juce::KeyPress tab { juce::KeyPress::tabKey };
    const juce::KeyPress shiftTab { juce::KeyPress::tabKey, juce::ModifierKeys::shiftModifier, 0 };
}

TEST (AppShellWindow, TheKeyboardReachesEveryControlInReadingOrderAndKeepsToAnOpenPanel)
{
    if (! windowTestsEnabled())
        GTEST_SKIP() << "needs the display to itself";

    kv::test::Sandbox sandbox;
    {
        FrontWindow front;
        auto& screen = front.screen;
        auto& peer = front.peer;
        ASSERT_TRUE (screen.hasKeyboardFocus (false)) << "the main screen did not get the keyboard focus";

        juce::StringArray order;
        for (int i = 0; i < 12; ++i)
            order.add (press (peer, tab));

        EXPECT_EQ (order.joinIntoString (" "), "SELECT_ALL VST3 CLAP AAX EULA WEBSITE SETTINGS MANUAL SUPPORT CHANGES INSTALL SELECT_ALL");
        EXPECT_EQ (press (peer, shiftTab), "INSTALL");
        EXPECT_EQ (press (peer, shiftTab), "CHANGES");

        // Space and Return activate, as a click does.
        juce::StringArray back;
        for (int i = 0; i < 6; ++i)
            back.add (press (peer, shiftTab));
        EXPECT_EQ (back.joinIntoString (" "), "SUPPORT MANUAL SETTINGS WEBSITE EULA AAX");
        ASSERT_EQ (press (peer, shiftTab), "CLAP");
        press (peer, juce::KeyPress (juce::KeyPress::spaceKey));
        EXPECT_TRUE (screen.formatSelected[1]);
        press (peer, juce::KeyPress (juce::KeyPress::returnKey));
        EXPECT_FALSE (screen.formatSelected[1]);

        // An open panel keeps the focus; Escape closes it and gives the focus back.
        ASSERT_EQ (press (peer, tab), "AAX");
        ASSERT_EQ (press (peer, tab), "EULA");
        press (peer, juce::KeyPress (juce::KeyPress::returnKey));
        ASSERT_NE (screen.eulaPanel, nullptr);
        ASSERT_TRUE (screen.eulaPanel->isShowing());

        for (int i = 0; i < 5; ++i)
        {
            press (peer, tab);
            EXPECT_TRUE (screen.eulaPanel->hasKeyboardFocus (true)) << "the focus left the open panel";
        }

        press (peer, juce::KeyPress (juce::KeyPress::escapeKey));
        pump (50);
        EXPECT_EQ (screen.eulaPanel->getParentComponent(), nullptr) << "Escape did not close the panel";
        EXPECT_EQ (juce::Component::getCurrentlyFocusedComponent(), screen.extraButtons[0].get());

        // A screen reader hears "Uninstall" only when a key on INSTALL would uninstall: Shift
        // pressed on INSTALL, not Shift held from the Shift+Tab that got there.
        auto install = dynamic_cast<InvisibleButton&> (*screen.installButton).createAccessibilityHandler();
        const juce::ModifierKeys shift (juce::ModifierKeys::shiftModifier);
        for (int i = 0; i < 4; ++i)
            press (peer, shiftTab);
        ASSERT_EQ (juce::Component::getCurrentlyFocusedComponent(), screen.selectAllButton.get());
        screen.modifierKeysChanged (shift);
        ASSERT_EQ (press (peer, shiftTab), "INSTALL");
        EXPECT_EQ (install->getTitle(), "Install");
        screen.modifierKeysChanged ({});
        screen.modifierKeysChanged (shift);
        EXPECT_EQ (install->getTitle(), "Uninstall");
        screen.modifierKeysChanged ({});
        EXPECT_EQ (install->getTitle(), "Install");
    }
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}

TEST (AppShellWindow, TheHelpLineFollowsTheKeyboardFocusAndStaysThroughAKeyPress)
{
    if (! windowTestsEnabled())
        GTEST_SKIP() << "needs the display to itself";

    kv::test::Sandbox sandbox;
    {
        FrontWindow front;
        auto& screen = front.screen;
        auto& peer = front.peer;

        // Each stop of the Tab order: what the line shows, which a screen reader hears as the help.
        const std::pair<const char*, const char*> stops[] = {
            { "SELECT_ALL", "" },
            { "VST3", "Select to install VST3" },
            { "CLAP", "Select to install CLAP" },
            { "AAX", "Select to install AAX" },
            { "EULA", "Click to read End-User License Agreement" },
            { "WEBSITE", "Click to open product page on the Korvane website" },
            { "SETTINGS", "Click to set the install folder for each format" },
            { "MANUAL", "Click to open product manual in your web browser" },
            { "SUPPORT", "Email and Discord support" },
            { "CHANGES", "Click to view release notes" },
            { "INSTALL", "Click to install selected. Shift-click to uninstall selected" },
        };

        for (const auto& [name, help] : stops)
        {
            ASSERT_EQ (press (peer, tab), name);
            EXPECT_EQ (screen.helpLabel->getText(), juce::String (help)) << name;
            auto* focused = dynamic_cast<InvisibleButton*> (juce::Component::getCurrentlyFocusedComponent());
            ASSERT_NE (focused, nullptr);
            EXPECT_EQ (focused->createAccessibilityHandler()->getHelp(), juce::String (help)) << name;
        }

        // Return or space on a button keeps its line.
        for (int i = 0; i < 8; ++i)
            press (peer, shiftTab);
        ASSERT_EQ (juce::Component::getCurrentlyFocusedComponent(), screen.formatButtons[1].get());
        for (const auto key : { juce::KeyPress::spaceKey, juce::KeyPress::returnKey })
        {
            press (peer, juce::KeyPress (key));
            pump (200);
            EXPECT_EQ (screen.helpLabel->getText(), "Select to install CLAP");
        }
    }
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}
