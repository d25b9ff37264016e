#include "app/KvInstallerApplication.h"

#include "command_line/CommandLine.h"
#include "command_line/PassLog.h"
#include "command_line/SilentRun.h"
#include "identity/ProductConstants.h"
#include "install/ExitCode.h"
#include "main_screen/MainComponent.h"
#include "messages/LogLines.h"

kv_installerApplication::~kv_installerApplication()
{
    mainWindow = nullptr;
}

const juce::String kv_installerApplication::getApplicationName() { return applicationName; }
const juce::String kv_installerApplication::getApplicationVersion() { return applicationVersion; }
bool kv_installerApplication::moreThanOneInstanceAllowed() { return true; }

void kv_installerApplication::initialise (const juce::String& commandLine)
{
    const auto options = kv::command_line::parse (commandLine);

    // Decided before any window exists: an unattended run never makes one, and nothing in
    // it waits for a person.
    if (options.silent)
    {
        setApplicationReturnValue (kv::command_line::runSilently (options, commandLine));
        quit();
        return;
    }

    // Without a silent switch, arguments this installer does not know are ignored, as ever.
    mainWindow = std::make_unique<MainWindow> (getApplicationName());
    auto* screen = dynamic_cast<MainComponent*> (mainWindow->getContentComponent());

    if (screen == nullptr)
        return;

    if (options.uninstall)
        screen->startInUninstallMode();

    if (options.log)
    {
        windowLog = std::make_unique<kv::command_line::RunLog> (kv::command_line::isUsableFolder (options.logPath) ? options.logPath : juce::String());
        kv::command_line::logHeader (*windowLog, commandLine, false, options.uninstall);

        for (const auto& argument : options.unknown)
            windowLog->add (kv::messages::log_lines::ignoredArgument (argument));

        screen->passObserver = [log = windowLog.get()] (const kv::install::InstallRequest& request, const FormatArray<FormatState>& before,
                                                        const kv::install::InstallReport& report, const kv::registration::Result& registered)
        {
            kv::command_line::logBeforePass (*log, request, before);
            kv::command_line::logAfterPass (*log, request, report);

            if (! report.anotherInstallerRunning)
                kv::command_line::logRegistration (*log, registered);

            log->add (kv::messages::log_lines::result (kv::install::exitCodeFor (report, false)));
        };
    }
}

void kv_installerApplication::shutdown()
{
    mainWindow = nullptr;
}

void kv_installerApplication::anotherInstanceStarted (const juce::String&) {}

void kv_installerApplication::systemRequestedQuit()
{
    quit();
}

static juce::Colour defaultWindowBackground()
{
    // Our own look and feel is not installed yet: the framework's default decides.
    auto& lookAndFeel = juce::Desktop::getInstance().getDefaultLookAndFeel();

    if (lookAndFeel.isColourSpecified (juce::ResizableWindow::backgroundColourId))
        return lookAndFeel.findColour (juce::ResizableWindow::backgroundColourId);

    return juce::Colours::black;
}

kv_installerApplication::MainWindow::MainWindow (juce::String name)
    : DocumentWindow (name, defaultWindowBackground(), DocumentWindow::allButtons, true)
{
    setUsingNativeTitleBar (true);
    setContentOwned (new MainComponent(), true);
    setResizable (true, true);
    getConstrainer()->setFixedAspectRatio (1.0);
    centreWithSize (getWidth(), getHeight());
    setVisible (true);
    repaintFallback = std::make_unique<kv::app::RepaintFallback> (*this);
    juce::Desktop::getInstance().addFocusChangeListener (this);
}

kv_installerApplication::MainWindow::~MainWindow()
{
    juce::Desktop::getInstance().removeFocusChangeListener (this);
}

void kv_installerApplication::MainWindow::globalFocusChanged (juce::Component* focused)
{
    if (focused != nullptr && focused != this && isParentOf (focused))
        lastFocusedInside = focused;
}

void kv_installerApplication::MainWindow::focusGained (FocusChangeType)
{
    if (lastFocusedInside != nullptr && lastFocusedInside->isShowing())
        lastFocusedInside->grabKeyboardFocus();
    else if (auto* content = getContentComponent(); content != nullptr && content->isShowing())
        content->grabKeyboardFocus();
}

void kv_installerApplication::MainWindow::closeButtonPressed()
{
    juce::JUCEApplication::getInstance()->systemRequestedQuit();
}
