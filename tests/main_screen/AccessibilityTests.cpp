#include "panels/panel_changelog.h"
#include "messages/Messages.h"
#include "panels/panel_eula.h"
#include "panels/panel_support.h"
#include "settings/panel_settings.h"
#include "main_screen/MainLayout.h"
#include "support/MainScreenFixture.h"

// What a screen reader is given: every control named, the tiles' status and selection, the
// outcome of a pass, and the panels' texts. Handlers are made as the platform makes them.

using Fixture = kv::test::MainScreenFixture;

namespace
{
    // Made as the platform makes them, from each class's own override.
    template <typename ComponentType>
    std::unique_ptr<juce::AccessibilityHandler> handlerOf (ComponentType& component)
    {
        return component.createAccessibilityHandler();
    }

    std::unique_ptr<juce::AccessibilityHandler> handlerOf (juce::Button* button)
    {
        auto* invisible = dynamic_cast<InvisibleButton*> (button);
        return invisible != nullptr ? invisible->createAccessibilityHandler() : nullptr;
    }
}

TEST_F (Fixture, ScreenReadersGetEveryControlsNameRoleStatusAndSelection)
{
    defaultBundle (0).createDirectory(); // VST3 is there, so it starts selected
    build().setSize (600, 600);

    const std::pair<const char*, const char*> titles[] = {
        { "SELECT_ALL", "Select all formats" }, { "EULA", "Licence agreement" }, { "WEBSITE", "Open the product's web page" }, { "SETTINGS", "Settings: install folders" }, { "MANUAL", "Open the manual" }, { "SUPPORT", "Support" }, { "CHANGES", "Release notes" }, { "INSTALL", "Install" }
    };
    for (const auto& [name, title] : titles)
    {
        auto handler = handlerOf (button (name));
        EXPECT_EQ (handler->getRole(), juce::AccessibilityRole::button) << name;
        EXPECT_EQ (handler->getTitle(), title);
    }

    auto vst3 = handlerOf (button ("VST3"));
    auto clap = handlerOf (button ("CLAP"));
    EXPECT_EQ (vst3->getRole(), juce::AccessibilityRole::toggleButton);
    EXPECT_EQ (vst3->getTitle(), "VST3");
    EXPECT_EQ (vst3->getDescription(), "INSTALLED");
    EXPECT_TRUE (vst3->getCurrentState().isChecked());
    EXPECT_TRUE (clap->getCurrentState().isCheckable());
    EXPECT_FALSE (clap->getCurrentState().isChecked());
    EXPECT_EQ (clap->getDescription(), "NOT INSTALLED");

    // The status is read from the disk each time, as the screen paints it.
    defaultBundle (0).deleteRecursively();
    EXPECT_EQ (vst3->getDescription(), "NOT INSTALLED");

    // Pressing goes through the click, like the mouse: the selection and its state follow.
    ASSERT_TRUE (clap->getActions().invoke (juce::AccessibilityActionType::press));
    juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
    EXPECT_TRUE (screen->formatSelected[1]);
    EXPECT_TRUE (clap->getCurrentState().isChecked());

    auto install = handlerOf (button ("INSTALL"));
    EXPECT_TRUE (install->getHelp().contains ("Shift")) << install->getHelp();
    // Shift held away from INSTALL is no command a key could give INSTALL: it stays "Install"
    // (the real window's keyboard test hears "Uninstall" once Shift goes down on INSTALL).
    screen->modifierKeysChanged (juce::ModifierKeys (juce::ModifierKeys::shiftModifier));
    EXPECT_TRUE (screen->uninstallMode);
    EXPECT_EQ (install->getTitle(), "Install");
    screen->modifierKeysChanged (juce::ModifierKeys());
    EXPECT_EQ (install->getTitle(), "Install");
}

TEST_F (Fixture, ScreenReadersGetTheOutcomeAndThePanelsTexts)
{
    build().setSize (600, 600);

    EXPECT_FALSE (screen->outcomeText->isVisible());
    click ("CLAP");
    click ("INSTALL");
    ASSERT_TRUE (screen->outcomeText->isVisible());
    EXPECT_EQ (handlerOf (*screen->outcomeText)->getRole(), juce::AccessibilityRole::staticText);
    EXPECT_EQ (screen->outcomeText->getTitle(), kv::messages::headline (screen->installReport));
    EXPECT_EQ (screen->outcomeText->getBounds(), main_layout::outcomeArea (screen->unit).toNearestInt());

    click ("EULA");
    EXPECT_EQ (screen->eulaPanel->getTitle(), "Licence agreement");
    EXPECT_EQ (screen->eulaPanel->textEditor->getTitle(), "Licence text");
    EXPECT_EQ (handlerOf (screen->eulaPanel->closeButton.get())->getTitle(), "Close");

    click ("SUPPORT");
    EXPECT_EQ (handlerOf (screen->supportPanel->discordButton.get())->getDescription(), panel_support::discordExplanation);
    EXPECT_EQ (handlerOf (screen->supportPanel->mailButton.get())->getDescription(), panel_support::mailExplanation);
    EXPECT_TRUE (screen->supportPanel->getDescription().contains (panel_support::aboutText()));

    click ("SETTINGS");
    EXPECT_EQ (handlerOf (screen->settingsPanel->browseButtons[2].get())->getTitle(), "Browse for the AAX install folder");
    EXPECT_EQ (screen->settingsPanel->pathEditors[0]->getTitle(), "VST3 install folder");

    click ("CHANGES");
    auto& notes = *screen->changelogPanel->content;
    EXPECT_EQ (handlerOf (notes)->getRole(), juce::AccessibilityRole::staticText);
    EXPECT_GT (notes.getDescription().length(), 100);
    EXPECT_FALSE (notes.getDescription().containsChar ('*'));
}
