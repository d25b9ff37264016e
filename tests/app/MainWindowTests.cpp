#include <gtest/gtest.h>

#include "app/KvInstallerApplication.h"
#include "main_screen/MainComponent.h"
#include "support/Sandbox.h"

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
