#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "app/RepaintFallback.h"
#include "command_line/RunLog.h"

class kv_installerApplication final : public juce::JUCEApplication
{
public:
    kv_installerApplication() = default;
    ~kv_installerApplication() override;

    const juce::String getApplicationName() override;
    const juce::String getApplicationVersion() override;
    bool moreThanOneInstanceAllowed() override;

    void initialise (const juce::String& commandLine) override;
    void shutdown() override;
    void anotherInstanceStarted (const juce::String& commandLine) override;
    void systemRequestedQuit() override;

    class MainWindow final : public juce::DocumentWindow,
                             private juce::FocusChangeListener
    {
    public:
        explicit MainWindow (juce::String name);
        ~MainWindow() override;

        void closeButtonPressed() override;

        // The window passes the keyboard focus on: to the control that last had it (the
        // system can take the window's focus away and give it back at any time), or else to
        // the main screen, so that the first Tab already reaches a control.
        void focusGained (FocusChangeType) override;

    private:
        void globalFocusChanged (juce::Component* focused) override;
        juce::Component::SafePointer<juce::Component> lastFocusedInside;

        // Made once the window is on the desktop with its final peer.
        std::unique_ptr<kv::app::RepaintFallback> repaintFallback;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindow)
    };

private:
    std::unique_ptr<MainWindow> mainWindow;

    // Only with /LOG: the window's passes, as an unattended run logs them.
    std::unique_ptr<kv::command_line::RunLog> windowLog;
};
