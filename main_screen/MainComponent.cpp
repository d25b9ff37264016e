#include "main_screen/MainComponent.h"

#include "identity/Formats.h"
#include "identity/ProductConstants.h"
#include "install/Install.h"
#include "look_and_feel/EmbeddedDrawables.h"
#include "look_and_feel/FocusMark.h"
#include "look_and_feel/Palette.h"
#include "main_screen/Commands.h"
#include "main_screen/EmbeddedResources.h"
#include "main_screen/InstalledFormats.h"
#include "main_screen/MainLayout.h"
#include "panels/panel_changelog.h"
#include "panels/panel_eula.h"
#include "panels/panel_support.h"
#include "platform/InstalledVersion.h"
#include "settings/panel_settings.h"

MainComponent::MainComponent()
{
    juce::LookAndFeel::setDefaultLookAndFeel (&customLookAndFeel);

    unit = 9.0f;
    uninstallMode = false;
    installDone = false;

    for (size_t i = 0; i < formatIcons.size(); ++i)
        formatIcons[i] = loadTintedIcon (formatResources[i].icon, formatResources[i].iconSize, colour_surface);
    installIcon = loadTintedIcon (BinaryData::icon_install_svg, BinaryData::icon_install_svgSize, colour_surface);
    logoDrawable = loadEmbeddedDrawable (BinaryData::logo_korvane_svg, BinaryData::logo_korvane_svgSize);
    warningIcon = loadEmbeddedDrawable (BinaryData::icon_warning_svg, BinaryData::icon_warning_svgSize);

    platformSuffix = product::platformSuffix;
    productName = product::bundleBaseName; // names the bundles as well as the title
    productVersion = product::version;
    productPageUrl = juce::URL (product::productPageAddress);
    manualUrl = juce::URL (product::manualAddress);

    loadDestinationSettings (makerFolder, destinationFolders);

    // A pass that was killed must not show as a missing or doubled plug-in.
    const auto recovered = kv::install::recoverAtStart (productName, destinationFolders);

    // Deployment tools read what is installed from the registry: it follows the disk.
    if (! recovered.leftForNextStart)
        install_status::registerWhatIsInstalled (productName, destinationFolders);

    for (size_t k = 0; k < extraButtons.size(); ++k)
    {
        extraButtons[k].reset (addInvisibleButton (extraButtonNames[(int) k]));
    }

    for (size_t i = 0; i < formatButtons.size(); ++i)
    {
        // A copy newer than the one carried is never replaced without being asked for.
        formatSelected[i] = kv::platform::itemExists (bundleFileFor ((int) i)) && ! statusOf ((int) i).newerThanCarried;
        auto* tile = addInvisibleButton (formatNames[(int) i]);
        tile->liveDescription = [this, i]
        { return install_status::statusText (statusOf ((int) i)); };
        formatButtons[i].reset (tile);
    }

    using main_commands::Action;
    auto* install = addInvisibleButton (main_commands::of (Action::install).name);
    install->liveTitle = [this]
    { return uninstallFromKeyboard || uninstallByCommandLine ? juce::String ("Uninstall") : juce::String ("Install"); };
    installButton.reset (install);
    selectAllButton.reset (addInvisibleButton (main_commands::of (Action::selectAll).name));
    showSelectionOnTiles();

    outcomeText = std::make_unique<AccessibleText>();
    outcomeText->setName ("OUTCOME");
    addChildComponent (*outcomeText);

    // Tab reaches the controls in reading order; a click anywhere hides the focus mark.
    setWantsKeyboardFocus (true);
    setFocusContainerType (FocusContainerType::keyboardFocusContainer);
    addMouseListener (this, true);
    juce::Desktop::getInstance().addFocusChangeListener (this);

    helpLabel = std::make_unique<juce::Label>();
    addAndMakeVisible (*helpLabel);
    helpLabel->setJustificationType (juce::Justification::centred);
    helpLabel->setColour (juce::Label::textColourId, colour_text_dim.withAlpha (0.5f));
    helpLabel->setText (applicationVersion, juce::dontSendNotification);

    noticeText = kv::messages::startupNotice (recovered);

    if (noticeText.isNotEmpty())
    {
        auto* notice = addInvisibleButton (main_commands::of (Action::dismissNotice).name);
        notice->liveDescription = [this]
        { return noticeText; };
        noticeButton.reset (notice);
    }

    setSize (600, 600);
}

MainComponent::~MainComponent()
{
    juce::Desktop::getInstance().removeFocusChangeListener (this);
}

InvisibleButton* MainComponent::addInvisibleButton (const juce::String& name)
{
    const auto* command = main_commands::named (name);
    jassert (command != nullptr);
    const auto isTile = command->action == main_commands::Action::toggleFormat;
    auto button = InvisibleButton::addTo (*this, *this, name, command->title, isTile ? InvisibleButton::Kind::selectable : InvisibleButton::Kind::plain);
    button->setExplicitFocusOrder (command->focusOrder);
    // Screen readers hear what the help line shows for it.
    button->liveHelp = [this, name]
    { return hoverHelpFor (name).value_or (juce::String()); };
    return button.release(); // the caller's owning member takes it
}

void MainComponent::dismissNotice()
{
    noticeText = {};

    if (noticeButton != nullptr)
        noticeButton->setVisible (false);

    repaint();
}

wrapped_text::Fitted MainComponent::noticeLayout() const
{
    const auto area = main_layout::noticeTextArea (unit);
    return wrapped_text::shrinkToFit (noticeText, customLookAndFeel.regularFont (2.5f * unit), colour_yellow, area.getWidth(),
                                      area.getHeight(), 2.5f * unit, 1.5f * unit, unit, juce::Justification::topLeft);
}

void MainComponent::showSelectionOnTiles()
{
    for (size_t i = 0; i < formatButtons.size(); ++i)
        formatButtons[i]->setToggleState (formatSelected[i], juce::dontSendNotification);
}

bool MainComponent::keyPressed (const juce::KeyPress& key)
{
    // Tab reaches here from whichever control has the focus, on the screen or in a panel:
    // from now on the focus is the keyboard's and gets its mark.
    if (key.isKeyCode (juce::KeyPress::tabKey))
        focus_mark::setShown (*this, true);

    // With the screen itself focused (at start, or after the pass hid the focused button),
    // Tab and Shift+Tab enter the controls at either end.
    if (key.isKeyCode (juce::KeyPress::tabKey) && hasKeyboardFocus (false))
    {
        if (auto traverser = createKeyboardFocusTraverser())
        {
            const auto order = traverser->getAllComponents (this);

            if (! order.empty())
            {
                (key.getModifiers().isShiftDown() ? order.back() : order.front())->grabKeyboardFocus();
                return true;
            }
        }
    }

    return false;
}

void MainComponent::globalFocusChanged (juce::Component*)
{
    // Arriving anywhere, INSTALL too, with Shift held is a move: only a fresh Shift arms it.
    uninstallFromKeyboard = false;

    // The keyboard gets the help a pointer gets from hovering.
    if (focus_mark::isShown (*this))
    {
        showKeyboardHelp();
        repaint();
    }
}

void MainComponent::mouseDown (const juce::MouseEvent&)
{
    focus_mark::setShown (*this, false);
}

juce::File MainComponent::bundleFileFor (int formatIndex) const
{
    return ::bundleFileFor (destinationFolders[(size_t) formatIndex], productName, formatIndex);
}

juce::File MainComponent::versionFileFor (int formatIndex) const
{
    return install_status::versionFileIn (bundleFileFor (formatIndex), productName, formatIndex);
}

FormatState MainComponent::statusOf (int formatIndex) const
{
    return install_status::stateOf (bundleFileFor (formatIndex), versionFileFor (formatIndex), productVersion);
}

void MainComponent::startInUninstallMode()
{
    uninstallByCommandLine = true;
    uninstallMode = true;

    for (size_t i = 0; i < formatSelected.size(); ++i)
        formatSelected[i] = kv::platform::itemExists (bundleFileFor ((int) i));

    showSelectionOnTiles();
    repaint();
}

DestinationCallback MainComponent::makeDestinationCallback()
{
    juce::Component::SafePointer<MainComponent> screen (this);

    return [screen] (int formatIndex, const juce::File& folder)
    {
        if (screen == nullptr)
            return;

        if (juce::isPositiveAndBelow (formatIndex, numFormats))
            screen->destinationFolders[(size_t) formatIndex] = folder;

        screen->repaint();
    };
}
