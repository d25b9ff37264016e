#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "install/Install.h"
#include "look_and_feel/AccessibleText.h"
#include "look_and_feel/CustomLookAndFeel.h"
#include "look_and_feel/InvisibleButton.h"
#include "main_screen/InstallStatus.h"
#include "registration/Registration.h"
#include "messages/Messages.h"
#include "main_screen/OutcomeNote.h"
#include "look_and_feel/WrappedText.h"
#include "settings/DestinationSettings.h"

#include <array>
#include <optional>

class panel_eula;
class panel_support;
class panel_settings;
class panel_changelog;

// The installer's one screen: it holds the run-time state, paints its own face over
// transparent buttons, and carries out every command.
class MainComponent final : public juce::Component,
                            public juce::Button::Listener,
                            private juce::FocusChangeListener
{
public:
    MainComponent();
    ~MainComponent() override;

    void paint (juce::Graphics&) override;
    void modifierKeysChanged (const juce::ModifierKeys&) override;
    void resized() override;

    // Keyboard use: Tab into the controls, and the focus mark shown only for keyboard focus.
    bool keyPressed (const juce::KeyPress&) override;
    void mouseDown (const juce::MouseEvent&) override;

    void buttonClicked (juce::Button*) override;
    void buttonStateChanged (juce::Button*) override;

    juce::File bundleFileFor (int formatIndex) const;
    juce::File versionFileFor (int formatIndex) const;
    FormatState statusOf (int formatIndex) const;

    // The function the settings panel calls after the user picked a folder.
    DestinationCallback makeDestinationCallback();

    // Started with /UNINSTALL (from the Apps & Features entry): INSTALL uninstalls, Shift or
    // not, and the installed formats are selected.
    void startInUninstallMode();
    bool uninstallByCommandLine = false;

    // Told of every pass, with what the status read found before it and what the detection
    // keys and the Apps & Features entry became after it: the window's log, when one is asked for.
    std::function<void (const kv::install::InstallRequest&, const FormatArray<FormatState>& before, const kv::install::InstallReport&,
                        const kv::registration::Result&)>
        passObserver;

    int lastModifierFlags = 0;
    CustomLookAndFeel customLookAndFeel;
    float unit = 9.0f;
    juce::String productName;
    juce::String productVersion;
    juce::String platformSuffix;
    std::array<std::unique_ptr<juce::TextButton>, 6> extraButtons;
    FormatArray<std::unique_ptr<juce::TextButton>> formatButtons;
    std::unique_ptr<juce::TextButton> installButton;
    std::unique_ptr<juce::TextButton> selectAllButton;
    std::unique_ptr<panel_eula> eulaPanel;
    std::unique_ptr<panel_support> supportPanel;
    std::unique_ptr<panel_settings> settingsPanel;
    std::unique_ptr<panel_changelog> changelogPanel;
    std::unique_ptr<juce::Label> helpLabel;

    // What a start has to tell (a copy a killed pass moved aside that could not be put back),
    // shown whole between the tiles and EXTRAS until it is dismissed or a pass runs. The
    // button, made only when there is a notice, is the notice itself: a click, Return or
    // space dismisses it.
    juce::String noticeText;
    std::unique_ptr<juce::TextButton> noticeButton;
    bool showsNotice() const { return noticeButton != nullptr && noticeButton->isVisible(); }
    wrapped_text::Fitted noticeLayout() const;

    // The success or failure view's words, for screen readers; present with the view.
    std::unique_ptr<AccessibleText> outcomeText;
    FormatArray<std::unique_ptr<juce::Drawable>> formatIcons;
    std::unique_ptr<juce::Drawable> installIcon;
    std::unique_ptr<juce::Drawable> logoDrawable;
    std::unique_ptr<juce::Drawable> warningIcon;
    juce::URL productPageUrl;
    juce::URL manualUrl;
    juce::File makerFolder;
    bool uninstallMode = false;

    // Set only when Shift went down while INSTALL already had the keyboard focus: then, and
    // only then, Return or space on INSTALL uninstalls. A Shift still held from the Shift+Tab
    // that reached INSTALL is a move, not a command.
    bool uninstallFromKeyboard = false;
    bool installDone = false;
    FormatArray<bool> formatSelected {};
    DestinationFolders destinationFolders;

    // What the last install or uninstall pass achieved; the success view shows only when
    // every format it touched succeeded.
    kv::install::InstallReport installReport;

    // The formats of that pass whose installed copy was newer than the one carried.
    kv::messages::NewerCopies newerCopiesReplaced;

private:
    // The focus mark follows every move of the focus, between controls too.
    void globalFocusChanged (juce::Component*) override;

    InvisibleButton* addInvisibleButton (const juce::String& name);
    std::optional<juce::String> hoverHelpFor (const juce::String& buttonName) const;

    // The help line for the button with the keyboard focus, or empty when the focus is not
    // the keyboard's or not on one of the screen's buttons.
    void showKeyboardHelp();
    void showSelectionOnTiles();
    void dismissNotice();
    void paintNotice (juce::Graphics&);
    void runInstallPass();
    juce::String outcomeWords() const;
    void paintNormalView (juce::Graphics&);
    void paintOutcomeView (juce::Graphics&);
    void paintSuccessView (juce::Graphics&);
    void paintFailureView (juce::Graphics&);

    template <typename Panel, typename... Args>
    void openPanel (std::unique_ptr<Panel>& holder, Args&&... args);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainComponent)
};
