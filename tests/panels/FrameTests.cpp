#include "panels/PanelLayout.h"
#include "panels/panel_changelog.h"
#include "panels/panel_eula.h"
#include "panels/panel_support.h"
#include "settings/panel_settings.h"
#include "support/Sandbox.h"
#include "PanelTestSupport.h"

namespace
{
    struct PanelFrame : public kv::test::PanelTest
    {
        kv::test::Sandbox sandbox;

        std::vector<std::unique_ptr<OverlayPanel>> allFourPanels()
        {
            std::vector<std::unique_ptr<OverlayPanel>> panels;
            panels.push_back (std::make_unique<panel_eula> ("Licence"));
            panels.push_back (std::make_unique<panel_support>());
            panels.push_back (std::make_unique<panel_settings> (sandbox.settingsFile(), nullptr));
            panels.push_back (std::make_unique<panel_changelog> ("# Notes\n- one", "Strandline2"));
            return panels;
        }
    };
}

TEST_F (PanelFrame, CloseAffordanceAndTitleFollowTheUnit)
{
    for (auto& panel : allFourPanels())
    {
        kv::test::showAt (*panel, 6.0f);
        EXPECT_EQ (panel->closeButton->getBounds(), juce::Rectangle<int> (528, 9, 48, 48));
        EXPECT_EQ (panel->closeButton->getName(), "X");
        EXPECT_EQ (panel->closeButton->getAlpha(), 0.0f);
    }

    EXPECT_EQ (panel_layout::closeCircleBounds ({ 528.0f, 9.0f, 48.0f, 48.0f }, 6.0f), juce::Rectangle<float> (540.0f, 21.0f, 24.0f, 24.0f));
    EXPECT_FLOAT_EQ (panel_layout::closeCircleThickness (6.0f), 1.5f);
    EXPECT_EQ (panel_layout::titleOrigin (6.0f), juce::Point<int> (24, 36));

    // 13.5 rounds to even; baselines truncate.
    EXPECT_EQ (panel_layout::closeButtonBounds (9.0f), juce::Rectangle<int> (792, 14, 72, 72));
    EXPECT_EQ (panel_layout::baseline (6.7f, 6.0f), 40);
}

TEST_F (PanelFrame, PaintsTheCircleInsideTheButtonAndTheTitleOnItsBaseline)
{
    panel_eula panel ("Licence");
    kv::test::showAt (panel, 6.0f);
    const auto image = kv::test::render (panel);

    // A 1.5 px line centred on the circle (540, 21, 24, 24) inks one pixel beyond it.
    const auto circle = kv::test::inkBounds (image, panel.closeButton->getBounds());
    EXPECT_NEAR (circle.getX(), 539, 1);
    EXPECT_NEAR (circle.getY(), 20, 1);
    EXPECT_NEAR (circle.getRight(), 565, 1);
    EXPECT_NEAR (circle.getBottom(), 45, 1);

    // Capitals stand on the baseline at 36, starting at x 24, at full strength.
    const auto title = kv::test::inkBounds (image, { 0, 0, 500, 72 });
    EXPECT_NEAR (title.getBottom(), 36, 1);
    EXPECT_NEAR (title.getX(), 26, 2);
    EXPECT_GE (kv::test::brightest (image, title), colour_text.getRed() - 8);
}

TEST_F (PanelFrame, HoveringBrightensTheCloseAffordanceAndLeavingDimsIt)
{
    panel_eula panel ("Licence");
    kv::test::showAt (panel, 6.0f);
    const auto area = panel.closeButton->getBounds();
    const auto halfStrength = kv::test::over (colour_background, colour_text_dim, 0.5f).getRed();

    const auto resting = kv::test::brightest (kv::test::render (panel), area);
    EXPECT_NEAR (resting, halfStrength, 3);

    panel.closeButton->setState (juce::Button::buttonOver);
    EXPECT_GT (kv::test::brightest (kv::test::render (panel), area), halfStrength + 40);

    panel.closeButton->setState (juce::Button::buttonNormal);
    EXPECT_EQ (kv::test::brightest (kv::test::render (panel), area), resting);
}

TEST_F (PanelFrame, CloseTakesThePanelOutOfItsParentButKeepsIt)
{
    juce::Component mainScreen;
    juce::Component otherChild;
    mainScreen.addAndMakeVisible (otherChild);

    for (auto& panel : allFourPanels())
    {
        mainScreen.addAndMakeVisible (*panel);
        const auto children = panel->getNumChildComponents();

        // A button of another name does not close the panels that have other buttons.
        juce::TextButton stranger;
        stranger.setName ("x");
        if (dynamic_cast<panel_support*> (panel.get()) != nullptr || dynamic_cast<panel_settings*> (panel.get()) != nullptr)
        {
            panel->buttonClicked (&stranger);
            EXPECT_EQ (panel->getParentComponent(), &mainScreen);
        }

        panel->buttonClicked (panel->closeButton.get());
        EXPECT_EQ (panel->getParentComponent(), nullptr);
        EXPECT_EQ (panel->getNumChildComponents(), children);
        EXPECT_EQ (mainScreen.getNumChildComponents(), 1);

        panel->closePanel(); // closing again finds nothing to remove
    }
}
