#include "main_screen/MainComponent.h"

#include "look_and_feel/FocusMark.h"
#include "main_screen/Commands.h"
#include "main_screen/EmbeddedArchives.h"
#include "main_screen/EmbeddedResources.h"
#include "main_screen/HoverHelp.h"
#include "main_screen/InstalledFormats.h"
#include "main_screen/OutcomeNote.h"
#include "panels/panel_changelog.h"
#include "panels/panel_eula.h"
#include "panels/panel_support.h"
#include "settings/panel_settings.h"

template <typename Panel, typename... Args>
void MainComponent::openPanel (std::unique_ptr<Panel>& holder, Args&&... args)
{
    // The new panel exists before the old one of its kind goes.
    holder = std::make_unique<Panel> (std::forward<Args> (args)...);
    addAndMakeVisible (*holder);
    holder->unit = unit;

    if constexpr (std::is_same_v<Panel, panel_support>)
    {
        holder->productName = productName;
        holder->productVersion = productVersion;
    }

    holder->setBounds (getBounds());
    holder->setAlwaysOnTop (true);

    // The panel keeps the focus until it closes; then it goes back to the command's button.
    holder->returnFocusTo = juce::Component::getCurrentlyFocusedComponent();
    holder->focusFirstControl();
}

void MainComponent::buttonClicked (juce::Button* button)
{
    const auto* command = main_commands::named (button->getName());

    if (command == nullptr)
        return;

    using main_commands::Action;

    switch (command->action)
    {
        case Action::openLicence:
            openPanel (eulaPanel, eulaText);
            break;

        case Action::openManual:
            manualUrl.launchInDefaultBrowser();
            break;

        case Action::openWebsite:
            productPageUrl.launchInDefaultBrowser();
            break;

        case Action::openSupport:
            openPanel (supportPanel);
            break;

        case Action::openSettings:
            openPanel (settingsPanel, settings::settingsFileIn (makerFolder), makeDestinationCallback());
            break;

        case Action::openReleaseNotes:
            openPanel (changelogPanel,
                       juce::String::createStringFromData (BinaryData::CHANGELOG_md, BinaryData::CHANGELOG_mdSize),
                       productName);
            break;

        case Action::toggleFormat:
        {
            auto& selected = formatSelected[(size_t) command->formatIndex];
            selected = ! selected;
            showSelectionOnTiles();
            repaint();
            break;
        }

        case Action::selectAll:
            formatSelected.fill (true);
            showSelectionOnTiles();
            repaint();
            break;

        case Action::install:
            runInstallPass();
            break;

        case Action::dismissNotice:
            dismissNotice();
            break;
    }
}

void MainComponent::runInstallPass()
{
    // A key or a screen reader uninstalls only when Shift went down on INSTALL itself; the
    // mouse follows Shift alone.
    const auto* install = dynamic_cast<InvisibleButton*> (installButton.get());
    const auto fromKeyboard = install != nullptr && install->clickedWithoutMouse();

    kv::install::InstallRequest request;
    request.uninstall = uninstallByCommandLine || (fromKeyboard ? uninstallFromKeyboard : uninstallMode);
    request.productName = productName;
    request.selected = formatSelected;
    request.destinationFolders = destinationFolders;
    request.archives = embeddedArchives();

    // Known only before the pass: which of the copies it replaces were newer.
    newerCopiesReplaced = { {}, productVersion };
    FormatArray<FormatState> before;

    for (size_t i = 0; i < formatSelected.size(); ++i)
    {
        before[i] = statusOf ((int) i);

        if (formatSelected[i] && ! request.uninstall && before[i].newerThanCarried)
            newerCopiesReplaced.installedVersions[i] = before[i].version;
    }

    if (std::find (formatSelected.begin(), formatSelected.end(), true) == formatSelected.end())
    {
        // Nothing to do: no lock to wait for, and the pass's result all the same.
        installReport = {};
        installReport.uninstall = request.uninstall;
    }
    else
    {
        // The window is frozen while the pass runs: the pointer says so.
        juce::MouseCursor::showWaitCursor();
        installReport = kv::install::runInstallPass (request);
        juce::MouseCursor::hideWaitCursor();
    }

    // While another installer works, what is on disk is its to tell.
    kv::registration::Result registered;

    if (! installReport.anotherInstallerRunning)
        registered = install_status::registerWhatIsInstalled (productName, destinationFolders);

    if (passObserver)
        passObserver (request, before, installReport, registered);

    for (size_t i = 0; i < formatSelected.size(); ++i)
        if (request.selected[i])
            formatSelected[i] = false;

    installDone = true;

    for (auto& formatButton : formatButtons)
        formatButton->setVisible (false);

    selectAllButton->setVisible (false);
    installButton->setVisible (false);
    // The outcome tells what became of any copy the notice named.
    dismissNotice();
    showSelectionOnTiles();

    // The view's words, readable and announced as the view appears.
    const auto words = outcomeWords();
    outcomeText->setTitle (kv::messages::headline (installReport));
    outcomeText->setDescription (words);
    outcomeText->setVisible (true);
    juce::AccessibilityHandler::postAnnouncement (kv::messages::headline (installReport) + (words.isNotEmpty() ? "\n" + words : juce::String()),
                                                  juce::AccessibilityHandler::AnnouncementPriority::high);
    repaint();
}

juce::String MainComponent::outcomeWords() const
{
    return kv::messages::outcomeWords (installReport, newerCopiesReplaced);
}

std::optional<juce::String> MainComponent::hoverHelpFor (const juce::String& buttonName) const
{
    return hover_help::textFor (
        buttonName, [this] (int formatIndex)
        { return statusOf (formatIndex); },
        productVersion);
}

void MainComponent::buttonStateChanged (juce::Button* button)
{
    // Off the pointer (a key press too) the line speaks for the control the keyboard is on.
    if (! button->isMouseOver())
    {
        showKeyboardHelp();
        return;
    }

    const auto text = hoverHelpFor (button->getName());

    if (text.has_value())
        helpLabel->setText (*text, juce::dontSendNotification);
}

void MainComponent::showKeyboardHelp()
{
    const auto* focused = juce::Component::getCurrentlyFocusedComponent();
    const auto onOwnButton = focused != nullptr && focused->getParentComponent() == this
                             && dynamic_cast<const juce::Button*> (focused) != nullptr && focus_mark::isShown (*this);

    helpLabel->setText (onOwnButton ? hoverHelpFor (focused->getName()).value_or (juce::String()) : juce::String(),
                        juce::dontSendNotification);
}
