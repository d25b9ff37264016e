#include "app/KvInstallerApplication.h"

#include "identity/ProductConstants.h"
#include "main_screen/MainComponent.h"

kv_installerApplication::~kv_installerApplication()
{
    mainWindow = nullptr;
}

const juce::String kv_installerApplication::getApplicationName() { return applicationName; }
const juce::String kv_installerApplication::getApplicationVersion() { return applicationVersion; }
bool kv_installerApplication::moreThanOneInstanceAllowed() { return true; }

void kv_installerApplication::initialise (const juce::String&)
{
    mainWindow = std::make_unique<MainWindow> (getApplicationName());
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
