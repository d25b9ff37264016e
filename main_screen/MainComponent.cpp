#include "main_screen/MainComponent.h"

#include "identity/EmbeddedResources.h"
#include "identity/ProductConstants.h"
#include "identity/ProductIdentity.h"
#include "install/Recovery.h"
#include "panels/panel_changelog.h"
#include "panels/panel_eula.h"
#include "panels/panel_support.h"
#include "settings/panel_settings.h"

MainComponent::MainComponent()
{
    juce::LookAndFeel::setDefaultLookAndFeel (&customLookAndFeel);

    unit = 9.0f;
    uninstallMode = false;
    installDone = false;

    formatIcons[0] = loadTintedIcon (BinaryData::icon_vst3_svg, BinaryData::icon_vst3_svgSize, colour_surface);
    formatIcons[1] = loadTintedIcon (BinaryData::icon_clap_svg, BinaryData::icon_clap_svgSize, colour_surface);
    formatIcons[2] = loadTintedIcon (BinaryData::icon_aax_svg, BinaryData::icon_aax_svgSize, colour_surface);
    installIcon = loadTintedIcon (BinaryData::icon_install_svg, BinaryData::icon_install_svgSize, colour_surface);
    logoDrawable = loadEmbeddedDrawable (BinaryData::logo_korvane_svg, BinaryData::logo_korvane_svgSize);
    warningIcon = loadEmbeddedDrawable (BinaryData::icon_warning_svg, BinaryData::icon_warning_svgSize);

    platformSuffix = product::platformSuffix;
    productName = product::bundleBaseName.replace ("_", " ");
    productVersion = product::version;
    productPageUrl = juce::URL (product::productPageAddress);
    manualUrl = juce::URL (product::manualAddress);

    loadDestinationSettings (makerFolder, destinationFolders);

    // A pass that was killed must not show as a missing or doubled plug-in.
    recoverAtStart (productName, destinationFolders);

    for (size_t k = 0; k < extraButtons.size(); ++k)
    {
        extraButtons[k].reset (addInvisibleButton (extraButtonNames[(int) k]));
    }

    for (size_t i = 0; i < formatButtons.size(); ++i)
    {
        formatSelected[i] = bundleFileFor ((int) i).exists();
        formatButtons[i].reset (addInvisibleButton (formatNames[(int) i]));
    }

    installButton.reset (addInvisibleButton ("INSTALL"));
    selectAllButton.reset (addInvisibleButton ("SELECT_ALL"));

    helpLabel = std::make_unique<juce::Label>();
    addAndMakeVisible (*helpLabel);
    helpLabel->setJustificationType (juce::Justification::centred);
    helpLabel->setColour (juce::Label::textColourId, colour_text_dim.withAlpha (0.5f));
    helpLabel->setText (applicationVersion, juce::dontSendNotification);

    setSize (600, 600);
}

MainComponent::~MainComponent() = default;

juce::TextButton* MainComponent::addInvisibleButton (const juce::String& name)
{
    auto* button = new juce::TextButton();
    addAndMakeVisible (button);
    button->setName (name);
    button->setAlpha (0.0f);
    button->addListener (this);
    return button;
}

juce::File MainComponent::bundleFileFor (int formatIndex) const
{
    return install_status::bundleFileIn (destinationFolders[(size_t) formatIndex], productName, formatIndex);
}

juce::File MainComponent::versionFileFor (int formatIndex) const
{
    return install_status::versionFileIn (bundleFileFor (formatIndex), productName, formatIndex);
}

FormatState MainComponent::statusOf (int formatIndex) const
{
    return install_status::stateOf (bundleFileFor (formatIndex), versionFileFor (formatIndex), productVersion);
}

DestinationCallback MainComponent::makeDestinationCallback()
{
    juce::Component::SafePointer<MainComponent> screen (this);

    return [screen] (const juce::String& attributeName, const juce::String& path)
    {
        if (screen == nullptr)
            return;

        applyDestinationChange (screen->destinationFolders, attributeName, path);
        screen->repaint();
    };
}
