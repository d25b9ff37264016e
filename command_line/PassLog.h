#pragma once

#include "command_line/RunLog.h"
#include "install/Install.h"
#include "main_screen/InstallStatus.h"
#include "registration/Registration.h"

// The log's lines around one pass, the same from the window and from an unattended run.
namespace kv::command_line
{
    void logHeader (RunLog& log, const juce::String& commandLine, bool silent, bool uninstall);

    // What was found for each format, and what the pass is about to do with it.
    void logBeforePass (RunLog& log, const install::InstallRequest& request, const FormatArray<FormatState>& before);

    // What became of each format, the old copies, and a pass that could not start.
    void logAfterPass (RunLog& log, const install::InstallRequest& request, const install::InstallReport& report);

    void logRegistration (RunLog& log, const registration::Result& result);
}
