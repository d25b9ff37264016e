#include "messages/CopyFates.h"

#include "identity/Formats.h"

namespace kv::messages
{
    using install::FormatOutcome;

    namespace
    {
        juce::String joinedWithAnd (const juce::StringArray& items)
        {
            if (items.size() < 2)
                return items.joinIntoString ({});

            return items.joinIntoString (", ", 0, items.size() - 1) + " and " + items[items.size() - 1];
        }

        // Gone at restart, gone at the next start, still visible to hosts (some loadable name
        // could not be renamed), or kept because deleting it was refused, which no wait changes.
        enum class Fate
        {
            atRestart,
            atNextStart,
            stillLoadable,
            refused
        };

        Fate fateOf (const FormatOutcome& outcome)
        {
            if (! outcome.hiddenFromHosts)
                return Fate::stillLoadable;

            if (outcome.removalRefused)
                return Fate::refused;

            return outcome.removalScheduled ? Fate::atRestart : Fate::atNextStart;
        }

        juce::String fateSentence (const std::vector<const FormatOutcome*>& sharing, bool uninstall, Fate fate)
        {
            juce::StringArray names, paths;
            for (const auto* outcome : sharing)
            {
                names.add (formatNames[outcome->formatIndex]);
                paths.add (outcome->stillInUse.getFullPathName());
            }

            const auto plural = uninstall || names.size() > 1;
            const juce::String they = plural ? "they" : "it", are = plural ? "are" : "is", them = plural ? "them" : "it";
            const auto subject = juce::String (uninstall ? "Some files of " : plural ? "The old copies of "
                                                                                     : "The old copy of ")
                                 + joinedWithAnd (names);

            if (fate == Fate::refused)
                return subject + " could not be deleted: administrators are not allowed to (a locked file or a security program). "
                       + (plural ? "They are" : "It is") + " hidden from plug-in hosts; allow the change and run the installer again to remove "
                       + them + ".";

            auto sentence = subject + " " + are + " still in use by a program; " + they + " ";

            if (fate == Fate::stillLoadable)
                return sentence + "may still be loaded by plug-in hosts from " + joinedWithAnd (paths)
                       + ". Close every program that uses the plug-in and run the installer again.";

            return sentence + are + " hidden from plug-in hosts and will be deleted "
                   + (fate == Fate::atRestart ? "when Windows restarts." : "the next time the installer starts.");
        }
    }

    juce::String keptCopiesSentence (const juce::Array<juce::File>& copies)
    {
        if (copies.isEmpty())
            return {};

        juce::StringArray paths;
        for (const auto& copy : copies)
            paths.add (copy.getFullPathName());

        return "An earlier copy could not be put back and is kept at " + paths.joinIntoString (", ") + ".";
    }

    juce::StringArray copyFateSentences (const install::InstallReport& report)
    {
        juce::StringArray sentences;

        // Copies deleted at restart first, formats in index order within each sentence.
        for (const auto fate : { Fate::atRestart, Fate::atNextStart, Fate::stillLoadable, Fate::refused })
        {
            std::vector<const FormatOutcome*> sharing;

            for (const auto& outcome : report.outcomes)
                if (outcome.succeeded() && outcome.stillInUse != juce::File() && fateOf (outcome) == fate)
                    sharing.push_back (&outcome);

            if (! sharing.empty())
                sentences.add (fateSentence (sharing, report.uninstall, fate));
        }

        for (const auto& outcome : report.outcomes)
            if (outcome.succeeded() && ! outcome.oldCopiesKept.isEmpty())
                sentences.add (formatNames[outcome.formatIndex] + ": " + keptCopiesSentence (outcome.oldCopiesKept));

        return sentences;
    }
}
