#include "main_screen/MainComponent.h"

#include "identity/Formats.h"
#include "identity/ProductConstants.h"
#include "look_and_feel/FocusMark.h"
#include "look_and_feel/Palette.h"
#include "main_screen/Commands.h"
#include "main_screen/MainLayout.h"
#include "main_screen/OutcomeNote.h"

namespace
{
    juce::Colour tileColour (FormatStatus status, bool hovered)
    {
        switch (status)
        {
            case FormatStatus::installed: return hovered ? colour_blue : colour_blue.withAlpha (0.9f);
            case FormatStatus::needsUpdate: return hovered ? colour_orange : colour_orange.withAlpha (0.9f);
            case FormatStatus::notInstalled:
            default: return colour_text_dim.withAlpha (hovered ? 0.5f : 0.35f);
        }
    }

    void drawIconWithin (juce::Graphics& g, juce::Drawable* icon, juce::Rectangle<float> area, juce::RectanglePlacement placement)
    {
        if (icon != nullptr)
            icon->drawWithin (g, area, placement, 1.0f);
    }
}

void MainComponent::paint (juce::Graphics& g)
{
    const auto u = unit;
    const auto width = (float) getWidth();
    const auto height = (float) getHeight();

    g.fillAll (colour_background);

    g.setColour (colour_blue);
    g.fillRect (0.0f, 0.0f, 100.0f * u, u);

    g.setColour (colour_text_dim.withAlpha (0.5f));
    g.fillEllipse (width - 2.0f * u, height - 2.0f * u, u, u);
    g.fillEllipse (width - 2.0f * u, height - 4.0f * u, u, u);
    g.fillEllipse (width - 4.0f * u, height - 2.0f * u, u, u);

    g.setFont (customLookAndFeel.regularFont (14.0f));

    const juce::Rectangle<float> titleArea { 4.0f * u, 8.0f * u, width, 12.0f * u };
    g.setColour (colour_text_dim);
    g.setFont (9.0f * u);
    g.drawText (productName.toUpperCase(), titleArea, juce::Justification::topLeft, true);

    g.setFont (4.0f * u);
    g.setColour (colour_text_dim.withAlpha (0.5f));
    g.drawText ("Version " + productVersion + platformSuffix, titleArea, juce::Justification::bottomLeft, true);

    if (logoDrawable != nullptr)
    {
        logoDrawable->replaceColour (juce::Colours::black, colour_text);
        logoDrawable->drawWithin (g, { 4.0f * u, 2.5f * u, 26.7f * u, 3.7f * u },
                                  juce::RectanglePlacement (juce::RectanglePlacement::xLeft | juce::RectanglePlacement::yMid), 1.0f);
        logoDrawable->replaceColour (colour_text, juce::Colours::black);
    }

    g.setColour (colour_text_dim.withAlpha (0.5f));
    g.setFont (3.0f * u);
    g.drawSingleLineText ("PLUGIN MANAGER", (int) (75.0f * u), (int) (4.0f * u), juce::Justification::left);
    g.setFont (2.0f * u);
    g.drawSingleLineText ("v" + applicationVersion, (int) (75.0f * u), (int) (6.0f * u), juce::Justification::left);

    g.setColour (colour_text_dim);
    g.setFont (4.0f * u);
    g.drawSingleLineText ("FORMATS", (int) (4.0f * u), (int) (26.0f * u), juce::Justification::left);
    g.fillRect (4.0f * u, 27.5f * u, 92.0f * u, 0.25f * u);
    g.drawSingleLineText ("EXTRAS", (int) (4.0f * u), (int) (70.0f * u), juce::Justification::left);
    g.fillRect (4.0f * u, 71.5f * u, 92.0f * u, 0.25f * u);

    g.setFont (2.25f * u);

    for (size_t k = 0; k < extraButtons.size(); ++k)
    {
        const auto r = extraButtons[k]->getBounds().toFloat();
        g.setColour (InvisibleButton::heldFaceColourOf (*extraButtons[k]));
        g.fillRoundedRectangle (r, 0.5f * u);
        g.setColour (colour_background);
        g.drawText (main_commands::named (extraButtons[k]->getName())->caption, r, juce::Justification::centred, true);
    }

    const auto installArea = installButton->getBounds().toFloat();
    g.setColour (InvisibleButton::heldFaceColourOf (*installButton));
    g.fillRoundedRectangle (installArea, u);
    drawIconWithin (g, installIcon.get(), unit_geometry::inset (installArea, 1.5f * u), juce::RectanglePlacement::centred);
    // The caption stands centred under the button; its area is wider than the button so that
    // "UNINSTALL" is never cut short to "UNINSTA...".
    g.setColour (colour_text_dim);
    g.drawText (uninstallMode ? "UNINSTALL" : main_commands::of (main_commands::Action::install).caption,
                installArea.translated (0.0f, 3.5f * u).withSizeKeepingCentre (16.0f * u, installArea.getHeight()),
                juce::Justification::centredBottom, true);

    if (installDone)
        paintOutcomeView (g);
    else
        paintNormalView (g);

    focus_mark::paintAround (g, *this, u);
}

void MainComponent::paintNormalView (juce::Graphics& g)
{
    const auto u = unit;

    const auto selectAllArea = selectAllButton->getBounds().toFloat();
    const auto selectAllDown = selectAllButton->isMouseButtonDown();
    g.setFont (2.7f * u);
    g.setColour (selectAllDown ? colour_green : colour_text_dim.withAlpha (0.1f));
    g.fillRoundedRectangle (selectAllArea, u);
    g.setColour (selectAllDown ? colour_surface : colour_text_dim);
    g.drawText (main_commands::of (main_commands::Action::selectAll).caption, selectAllArea, juce::Justification::centred, true);

    if (showsNotice())
        paintNotice (g);

    for (size_t i = 0; i < formatButtons.size(); ++i)
    {
        const auto& button = *formatButtons[i];
        const auto r = button.getBounds().toFloat();
        const auto state = statusOf ((int) i);

        g.setColour (tileColour (state.status, button.isMouseOver()));
        g.fillRoundedRectangle (r, u);

        if (formatSelected[i])
        {
            g.setColour (colour_yellow);
            g.drawRoundedRectangle (r, u, 0.5f * u);
        }

        const auto textArea = unit_geometry::inset (r, 1.5f * u).translated (10.0f * u, 0.0f);
        g.setColour (colour_background);
        g.setFont (2.975f * u);
        g.drawText (formatNames[(int) i], textArea, juce::Justification::topLeft, true);
        g.setFont (2.55f * u);
        g.drawText (install_status::statusText (state), textArea, juce::Justification::bottomLeft, true);

        drawIconWithin (g, formatIcons[i].get(),
                        { r.getX() + u, r.getY() + u, 8.0f * u, juce::jmax (0.0f, r.getHeight() - 2.0f * u) },
                        juce::RectanglePlacement::centred);
    }
}

void MainComponent::paintNotice (juce::Graphics& g)
{
    const auto u = unit;
    g.setColour (colour_text_dim.withAlpha (noticeButton->isMouseOver() ? 0.2f : 0.1f));
    g.fillRoundedRectangle (main_layout::noticeArea (u), u);

    noticeLayout().text.draw (g, main_layout::noticeTextArea (u));

    const auto cross = main_layout::noticeCross (u);
    g.setColour (colour_text_dim);
    g.drawLine ({ cross.getTopLeft(), cross.getBottomRight() }, 0.3f * u);
    g.drawLine ({ cross.getBottomLeft(), cross.getTopRight() }, 0.3f * u);
}

void MainComponent::paintOutcomeView (juce::Graphics& g)
{
    if (installReport.succeeded())
        paintSuccessView (g);
    else
        paintFailureView (g);
}

void MainComponent::paintSuccessView (juce::Graphics& g)
{
    const auto u = unit;
    const auto area = main_layout::outcomeArea (u);
    auto iconArea = unit_geometry::inset (area, 12.0f * u);

    // A copy still in use by a program is told above the icon, whole, never hidden behind success.
    if (const auto words = outcomeWords(); words.isNotEmpty())
    {
        const auto note = outcome_note::fit (words, customLookAndFeel.regularFont (2.5f * u), area, u, colour_yellow);
        note.text.draw (g, note.textArea);
        iconArea = note.iconArea;
    }

    g.setColour (colour_green);

    if (installIcon != nullptr)
    {
        installIcon->replaceColour (colour_surface, colour_green);
        installIcon->drawWithin (g, iconArea, juce::RectanglePlacement::centred, 1.0f);
        installIcon->replaceColour (colour_green, colour_surface);
    }

    g.setFont (customLookAndFeel.regularFont (8.0f * u));
    g.setFillType (juce::FillType (colour_text));
    g.drawText ("SUCCESS!", area, juce::Justification::centredBottom, true);
}

void MainComponent::paintFailureView (juce::Graphics& g)
{
    // Never "SUCCESS!" when something was not done: say what failed and what to do.
    const auto u = unit;
    const auto area = main_layout::outcomeArea (u);

    drawIconWithin (g, warningIcon.get(), { area.getX(), area.getY() + u, area.getWidth(), 11.0f * u },
                    juce::RectanglePlacement::centred);

    g.setFont (customLookAndFeel.regularFont (5.0f * u));
    g.setColour (colour_orange);
    g.drawText (kv::messages::headline (installReport), juce::Rectangle<float> (area.getX(), area.getY() + 13.0f * u, area.getWidth(), 6.0f * u),
                juce::Justification::centred, true);

    g.setFont (2.5f * u);
    g.setColour (colour_text);
    g.drawFittedText (outcomeWords(),
                      juce::Rectangle<float> (area.getX() + 2.0f * u, area.getY() + 20.0f * u, area.getWidth() - 4.0f * u, 18.0f * u).toNearestInt(),
                      juce::Justification::centredTop, 7, 1.0f);
}
