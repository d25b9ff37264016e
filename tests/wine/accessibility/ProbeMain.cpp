// kv_accessibility_probe: builds the installer's real main window in the Windows build and reads
// what a screen reader is given, in process, from JUCE's accessibility handlers, and the
// window's root through Windows' UI Automation client API. Prints one line a check; exit code 0
// when all pass. Run under Wine by tests/wine/test_wine_accessibility.sh.

#include "app/KvInstallerApplication.h"

#include "TreeWalk.h"
#include "UiaRoot.h"

#include <iostream>
#include <windows.h>

namespace
{
    int failures = 0;

    void check (bool passed, const juce::String& what)
    {
        std::cout << (passed ? "ok: " : "FAIL: ") << what << std::endl;
        failures += passed ? 0 : 1;
    }

    void pump (int ms) { juce::MessageManager::getInstance()->runDispatchLoopUntil (ms); }

    void press (const juce::AccessibilityHandler& root, const juce::String& title)
    {
        const auto* control = findByTitle (root, title);
        check (control != nullptr && control->getActions().invoke (juce::AccessibilityActionType::press), "a press on " + title);
        pump (300);
    }

    // The main screen's controls: name, role, focusable, and a help text for each.
    void checkMainScreen (const juce::AccessibilityHandler& root, const juce::String& when)
    {
        const auto seen = walkAccessibilityTree (root);
        const char* buttons[] = { "Select all formats", "Licence agreement", "Open the product's web page", "Settings: install folders",
                                  "Open the manual", "Support", "Release notes", "Install" };

        for (const auto* title : buttons)
        {
            const auto found = seen.find (title);
            check (found != seen.end() && found->second.role == juce::AccessibilityRole::button && found->second.focusable,
                   when + ": \"" + title + "\" is a focusable button");
            // SELECT ALL is the one control the help line has nothing for.
            if (juce::String (title) != "Select all formats")
                check (found != seen.end() && found->second.help.isNotEmpty(), when + ": \"" + title + "\" has a help text");
        }

        for (const auto* tile : { "VST3", "CLAP", "AAX" })
        {
            const auto found = seen.find (tile);
            check (found != seen.end() && found->second.role == juce::AccessibilityRole::toggleButton && found->second.checkable
                       && found->second.description.isNotEmpty(),
                   when + ": the " + juce::String (tile) + " tile is a toggle with its status (\""
                       + (found != seen.end() ? found->second.description : juce::String()) + "\")");
            check (found != seen.end() && found->second.help.isNotEmpty(), when + ": the " + juce::String (tile) + " tile has a help text");
        }
    }
}

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;

    // As a screen reader's client: another process that finds the installer's window and reads
    // its root through the UI Automation core API, asking nothing below it (under Wine 8,
    // navigating to the first child never returns).
    if (argc > 1 && juce::String (argv[1]) == "--uia")
    {
        const auto uia = readUiaRoot (::FindWindowW (nullptr, L"kv_installer"));
        std::cout << (uia.available ? "UI Automation: root \"" + uia.name + "\", control type " + juce::String (uia.controlType)
                                    : juce::String ("UI Automation: the core API is not there"))
                  << std::endl;
        check (! uia.available || uia.name == "kv_installer", "UI Automation reads the window's name");
        return failures == 0 ? 0 : 1;
    }

    {
        kv_installerApplication::MainWindow window ("kv_installer");
        pump (500);

        auto* screen = window.getContentComponent();
        auto* root = screen != nullptr ? screen->getAccessibilityHandler() : nullptr;

        // JUCE gives a plain component no role of its own; Windows' provider shows it as a group.
        check (root != nullptr && screen->isShowing(), "the main screen is shown, with its accessibility handler");

        if (root == nullptr)
            return 1;

        checkMainScreen (*root, "at start");
        const auto vst3 = walkAccessibilityTree (*root)["VST3"];
        check (! vst3.checked, "VST3 starts unselected: nothing is installed");

        press (*root, "VST3");
        check (walkAccessibilityTree (*root)["VST3"].checked, "a press selects the VST3 tile");

        press (*root, "Install");
        for (int i = 0; i < 100 && findByTitle (*root, "SUCCESS!") == nullptr; ++i)
            pump (100);
        check (findByTitle (*root, "SUCCESS!") != nullptr, "after the pass: the outcome \"SUCCESS!\" is read");

        press (*root, "Licence agreement");
        check (findByTitle (*root, "Licence text") != nullptr && findByTitle (*root, "Close") != nullptr,
               "with the licence panel open: its text and its Close button are read");
    }

    std::cout << (failures == 0 ? "all checks passed" : juce::String (failures) + " checks failed") << std::endl;
    return failures == 0 ? 0 : 1;
}
