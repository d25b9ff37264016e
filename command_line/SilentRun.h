#pragma once

#include "command_line/CommandLine.h"

// An unattended run: what a click on INSTALL (or Shift-click) does, with the formats and
// folders the command line names, and no window. Returns the exit code.
namespace kv::command_line
{
    int runSilently (const Options& options, const juce::String& commandLine);
}
