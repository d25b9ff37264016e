#include "messages/StartupNotice.h"

#include "messages/CopyFates.h"

namespace kv::messages
{
    juce::String startupNotice (const install::RecoveryResult& recovered)
    {
        juce::StringArray sentences { keptCopiesSentence (recovered.oldCopiesKept) };

        if (! recovered.oldCopiesBesideAnother.isEmpty())
        {
            juce::StringArray paths;
            for (const auto& copy : recovered.oldCopiesBesideAnother)
                paths.add (copy.getFullPathName());

            sentences.add ("Another item took the plug-in's place after the installer put its copy there, so the earlier copy was not deleted: it is kept at "
                           + paths.joinIntoString (", ") + ".");
        }

        if (recovered.leftForNextStart)
            sentences.add ("Another installer is at work: what an earlier pass may have left beside the plug-ins is put right the next time this installer starts.");

        sentences.removeEmptyStrings();
        return sentences.joinIntoString (" ");
    }
}
