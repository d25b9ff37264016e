#include "messages/StartupNotice.h"

#include "messages/CopyFates.h"

namespace kv::messages
{
    juce::String startupNotice (const install::RecoveryResult& recovered)
    {
        juce::StringArray sentences { keptCopiesSentence (recovered.oldCopiesKept) };

        if (recovered.leftForNextStart)
            sentences.add ("Another installer is at work: what an earlier pass may have left beside the plug-ins is put right the next time this installer starts.");

        sentences.removeEmptyStrings();
        return sentences.joinIntoString (" ");
    }
}
