#include "command_line/RunLog.h"

#include "identity/ProductFacts.h"
#include "platform/PlatformFolders.h"

namespace kv::command_line
{
    juce::File RunLog::newFileInTemporaryFolder()
    {
        const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory);
        const auto stem = juce::String (product_facts::productName) + " Setup Log " + juce::Time::getCurrentTime().formatted ("%Y-%m-%d") + " #";

        for (int number = 1; number < 1000; ++number)
            if (auto file = folder.getChildFile (stem + juce::String (number).paddedLeft ('0', 3) + ".txt"); ! file.exists())
                return file;

        return folder.getChildFile (stem + "999.txt");
    }

    RunLog::RunLog (const juce::String& path)
        : logFile (path.isEmpty() ? newFileInTemporaryFolder() : platform::fileFromPath (path))
    {
        logFile.getParentDirectory().createDirectory();
        stream = std::make_unique<juce::FileOutputStream> (logFile);

        // A log named twice gets both runs, one after the other: the stream appends.
        if (! stream->openedOk())
            stream = nullptr;
    }

    void RunLog::add (const juce::String& line)
    {
        if (stream == nullptr)
            return;

        const auto now = juce::Time::getCurrentTime();
        const auto stamp = now.formatted ("%Y-%m-%d %H:%M:%S.") + juce::String (now.getMilliseconds()).paddedLeft ('0', 3);
        stream->writeText (stamp + "   " + line + "\r\n", false, false, nullptr);
        stream->flush();
    }

    void RunLog::add (const juce::StringArray& lines)
    {
        for (const auto& line : lines)
            add (line);
    }
}
