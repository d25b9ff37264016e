#include "main_screen/EmbeddedResources.h"
#include "PanelTestSupport.h"
#include "panels/panel_eula.h"

using PanelLicence = kv::test::PanelTest;

TEST_F (PanelLicence, EditorFillsTheBodyWrapsAndScrollsVerticallyOnly)
{
    ASSERT_GT (eulaText.length(), 2000);
    panel_eula panel (eulaText);
    kv::test::showAt (panel, 6.0f);
    auto& editor = *panel.textEditor;

    EXPECT_EQ (editor.getBounds(), juce::Rectangle<int> (24, 72, 552, 480));
    EXPECT_EQ (editor.getText(), eulaText);
    EXPECT_TRUE (editor.isMultiLine());
    EXPECT_EQ (editor.findColour (juce::TextEditor::outlineColourId), colour_background);
    EXPECT_EQ (editor.findColour (juce::TextEditor::focusedOutlineColourId), colour_background);

    juce::Viewport* viewport = nullptr;
    for (auto* child : editor.getChildren())
        if (auto* v = dynamic_cast<juce::Viewport*> (child))
            viewport = v;

    ASSERT_NE (viewport, nullptr);
    EXPECT_TRUE (viewport->getVerticalScrollBar().isVisible());
    EXPECT_FALSE (viewport->getHorizontalScrollBar().isVisible());

    // Long paragraphs wrap inside the box instead of running off to the right.
    EXPECT_LE (editor.getTextWidth(), viewport->getMaximumVisibleWidth());
}
