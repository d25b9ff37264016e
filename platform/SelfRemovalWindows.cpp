#include "platform/SelfRemoval.h"

#include <windows.h>

#include <string>

namespace kv::platform
{
    bool removeFolderAfterExit (const juce::File& folder)
    {
        // What can go now, goes; the running program and its folder are left to a hidden
        // command that waits a few seconds for this process to end.
        for (const auto& item : folder.findChildFiles (juce::File::findFilesAndDirectories, false))
            item.deleteRecursively();

        if (folder.deleteRecursively())
            return true;

        wchar_t system[MAX_PATH] {};
        ::GetSystemDirectoryW (system, MAX_PATH);
        const auto cmd = juce::String (system) + "\\cmd.exe";
        const auto path = folder.getFullPathName();
        auto commandLine = "\"" + cmd + "\" /d /c ping -n 4 127.0.0.1 >nul & rd /s /q \"" + path + "\"";

        STARTUPINFOW startup {};
        startup.cb = sizeof (startup);
        PROCESS_INFORMATION process {};
        std::wstring writable (commandLine.toWideCharPointer()); // CreateProcessW may write into it

        const auto started = ::CreateProcessW (cmd.toWideCharPointer(), writable.data(), nullptr, nullptr, FALSE,
                                               CREATE_NO_WINDOW, nullptr, system, &startup, &process);

        if (started)
        {
            ::CloseHandle (process.hThread);
            ::CloseHandle (process.hProcess);
        }

        // Should the command not run, Windows removes what is left at its next start.
        for (const auto& item : folder.findChildFiles (juce::File::findFiles, false))
            ::MoveFileExW (item.getFullPathName().toWideCharPointer(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        ::MoveFileExW (path.toWideCharPointer(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);

        return started != FALSE;
    }
}
