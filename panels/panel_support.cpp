#include "panels/panel_support.h"

#include "BinaryData.h"
#include "identity/ProductConstants.h"
#include "look_and_feel/EmbeddedDrawables.h"
#include "look_and_feel/Palette.h"
#include "panels/PanelLayout.h"
#include "panels/SupportMail.h"

juce::String panel_support::aboutText()
{
    // The line break keeps the version sentence on a line of its own at every width.
    const auto versionSentence = "The Korvane Plugin Manager v" + applicationVersion + " cross-platform installater. \n";
    return versionSentence + "Feel free to drop us a line if you have any suggestions or questions concerning its use.";
}

panel_support::panel_support()
{
    discordIcon = loadTintedIcon (BinaryData::icon_discord_svg, BinaryData::icon_discord_svgSize, colour_surface);
    mailIcon = loadTintedIcon (BinaryData::icon_mail_svg, BinaryData::icon_mail_svgSize, colour_surface);

    createCloseButton();
    discordButton = InvisibleButton::addTo (*this, *this, "DISCORD", "Join the Korvane Discord community");
    mailButton = InvisibleButton::addTo (*this, *this, "MAIL", "Write to support by e-mail");

    // The painted texts, for screen readers.
    setTitle ("Support");
    discordButton->setDescription (discordExplanation);
    mailButton->setDescription (mailExplanation);
    setDescription ("About Korvane Plugin Manager. " + aboutText() + " " + product::copyrightLine);
}

panel_support::~panel_support() = default;

void panel_support::resized()
{
    layoutCloseButton();
    discordButton->setBounds (panel_layout::discordButtonBounds (unit));
    mailButton->setBounds (panel_layout::mailButtonBounds (unit));
}

void panel_support::paintIconButton (juce::Graphics& g, const juce::Button& button, juce::Drawable* icon)
{
    const auto bounds = button.getBounds().toFloat();
    g.setColour (InvisibleButton::faceColourOf (button));
    g.fillRoundedRectangle (bounds, unit);

    // A resource that did not parse leaves only the face.
    if (icon != nullptr)
        icon->drawWithin (g, panel_layout::iconBounds (bounds, unit), juce::RectanglePlacement::centred, 1.0f);
}

void panel_support::paintExplanation (juce::Graphics& g, const juce::Button& button, const juce::String& text)
{
    g.setColour (colour_text_dim);
    g.setFont (3.0f * unit);
    g.drawFittedText (text, panel_layout::explanationBounds (button.getBounds().toFloat(), unit),
                      juce::Justification::topLeft, 20, 0.0f);
}

void panel_support::paint (juce::Graphics& g)
{
    paintFrame (g, {});

    g.setColour (colour_text);
    g.setFont (5.0f * unit);
    g.drawText ("DISCORD", panel_layout::discordHeadingBounds (unit), juce::Justification::centredLeft, true);
    paintIconButton (g, *discordButton, discordIcon.get());
    paintExplanation (g, *discordButton, discordExplanation);

    g.setColour (colour_text);
    g.setFont (5.0f * unit);
    g.drawText ("E-MAIL", panel_layout::mailHeadingBounds (unit), juce::Justification::centredLeft, true);
    paintIconButton (g, *mailButton, mailIcon.get());
    paintExplanation (g, *mailButton, mailExplanation);

    g.setColour (colour_text_dim);
    g.setFont (3.0f * unit);
    g.drawText ("ABOUT KORVANE PLUGIN MANAGER", panel_layout::aboutHeadingBounds (unit), juce::Justification::centredLeft, true);
    g.drawFittedText (aboutText(), panel_layout::aboutTextBounds (unit), juce::Justification::topLeft, 20, 0.0f);

    const auto copyright = panel_layout::copyrightOrigin (unit);
    g.drawSingleLineText (product::copyrightLine, copyright.x, copyright.y, juce::Justification::left);
}

void panel_support::buttonClicked (juce::Button* button)
{
    const auto name = button->getName();

    // Whether a browser or mail program could be started is not reported: the panel stays.
    if (name == "X")
        closePanel();
    else if (name == "DISCORD")
        juce::URL (product::discordInviteAddress).launchInDefaultBrowser();
    else if (name == "MAIL")
        juce::URL (supportMailUri (productName, productVersion, SystemDescription::ofThisMachine())).launchInDefaultBrowser();
}
