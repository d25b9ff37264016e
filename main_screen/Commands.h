#pragma once

#include <juce_core/juce_core.h>

#include "identity/FormatTable.h"

#include <array>

// Every button of the main screen, one row each: the set-up names and orders the buttons from
// here, the dispatch and the help line find a button's row by its component name (an exact
// comparison), and screen readers hear its title. A name written wrong here is wrong everywhere
// at once, and the checks below stop the build on a name twice or a gap in the focus order.
namespace main_commands
{
    enum class Action
    {
        openLicence,
        openManual,
        openWebsite,
        openSupport,
        openSettings,
        openReleaseNotes,
        toggleFormat,
        selectAll,
        install,
        dismissNotice
    };

    struct Command
    {
        const char* name = ""; // the button's component name, which is the command's name
        Action action = Action::dismissNotice;
        bool isExtra = false; // one of the six extras buttons
        const char* caption = ""; // painted on the button's face
        const char* title = ""; // what a screen reader calls the button
        const char* help = ""; // the help line; empty: composed from the format's state (tiles) or left as it is
        int focusOrder = 0; // its place when Tab moves through the screen, from 1
        int formatIndex = -1; // a tile's format
    };

    // Tab follows the reading order: SELECT ALL, the format tiles, the extras by rows, INSTALL,
    // the notice of a start.
    inline constexpr int firstTileFocusOrder = 2;
    inline constexpr int afterTiles = firstTileFocusOrder + numFormats;

    // The extras first, in the order of their places (EULA, MANUAL | WEBSITE, SUPPORT |
    // SETTINGS, CHANGES); the format tiles follow from the format table.
    inline constexpr Command fixedCommands[] {
        { "EULA", Action::openLicence, true, "EULA", "Licence agreement", "Click to read End-User License Agreement", afterTiles + 0 },
        { "MANUAL", Action::openManual, true, "MANUAL", "Open the manual", "Click to open product manual in your web browser", afterTiles + 3 },
        { "WEBSITE", Action::openWebsite, true, "WEBSITE", "Open the product's web page", "Click to open product page on the Korvane website", afterTiles + 1 },
        { "SUPPORT", Action::openSupport, true, "SUPPORT", "Support", "Email and Discord support", afterTiles + 4 },
        { "SETTINGS", Action::openSettings, true, "SETTINGS", "Settings: install folders", "Click to set the install folder for each format", afterTiles + 2 },
        { "CHANGES", Action::openReleaseNotes, true, "CHANGES", "Release notes", "Click to view release notes", afterTiles + 5 },
        { "INSTALL", Action::install, false, "INSTALL", "Install", "Click to install selected. Shift-click to uninstall selected", afterTiles + 6 },
        { "SELECT_ALL", Action::selectAll, false, "SELECT ALL", "Select all formats", "", 1 },
        { "NOTICE", Action::dismissNotice, false, "", "Notice", "Click to dismiss this notice", afterTiles + 7 },
    };

    inline constexpr auto table = []
    {
        std::array<Command, std::size (fixedCommands) + (size_t) numFormats> rows {};
        size_t row = 0;

        for (const auto& command : fixedCommands)
            rows[row++] = command;

        for (int i = 0; i < numFormats; ++i)
        {
            const auto* name = formatTable[i].name;
            rows[row++] = { name, Action::toggleFormat, false, name, name, "", firstTileFocusOrder + i, i };
        }

        return rows;
    }();

    namespace checks
    {
        constexpr bool sameName (const char* a, const char* b)
        {
            while (*a != 0 && *a == *b)
                ++a, ++b;

            return *a == *b;
        }

        constexpr bool namesAreUnique()
        {
            for (size_t i = 0; i < table.size(); ++i)
                for (size_t j = i + 1; j < table.size(); ++j)
                    if (sameName (table[i].name, table[j].name))
                        return false;

            return true;
        }

        constexpr bool focusOrderHasNoGaps()
        {
            for (int place = 1; place <= (int) table.size(); ++place)
            {
                int buttonsThere = 0;
                for (const auto& command : table)
                    buttonsThere += command.focusOrder == place ? 1 : 0;
                if (buttonsThere != 1)
                    return false;
            }

            return true;
        }

        constexpr int numExtras()
        {
            int extras = 0;
            for (const auto& command : table)
                extras += command.isExtra ? 1 : 0;
            return extras;
        }
    }

    static_assert (checks::namesAreUnique(), "every button needs a command name of its own");
    static_assert (checks::focusOrderHasNoGaps(), "focusOrder must number the buttons 1, 2, 3, ... once each");
    static_assert (checks::numExtras() == 6, "the screen has six extras buttons");

    // The row of the button with this component name, compared exactly; null for none.
    inline const Command* named (const juce::String& name)
    {
        for (const auto& command : table)
            if (name == command.name)
                return &command;

        return nullptr;
    }

    // The one row of an action that is not a format's.
    inline const Command& of (Action action)
    {
        for (const auto& command : table)
            if (command.action == action)
                return command;

        jassertfalse;
        return table.front();
    }
}

// Component names of the six extras buttons, in the order of their places; also their
// command names.
inline const juce::StringArray extraButtonNames = []
{
    juce::StringArray names;
    for (const auto& command : main_commands::table)
        if (command.isExtra)
            names.add (command.name);
    return names;
}();
