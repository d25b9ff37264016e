#include "main_screen/OutcomeNote.h"

#include "identity/Formats.h"
#include "look_and_feel/UnitGeometry.h"
#include "look_and_feel/WrappedText.h"

namespace outcome_note
{
    using kv::install::FormatOutcome;
    using kv::install::InstallReport;
    namespace
    {
        juce::String joinedNames (const juce::StringArray& names)
        {
            if (names.size() < 2)
                return names.joinIntoString ({});

            return names.joinIntoString (", ", 0, names.size() - 1) + " and " + names[names.size() - 1];
        }

        // What became of the copies in use: gone at restart, gone at the next start, (some
        // loadable name could not be renamed) still visible to hosts, or kept because deleting
        // them was refused permission, which no wait changes.
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

        juce::String sentenceFor (const juce::StringArray& names, bool uninstall, Fate fate)
        {
            const auto several = names.size() > 1;
            juce::String sentence;

            if (fate == Fate::refused)
                return juce::String (uninstall ? "Some files of " : several ? "The old copies of "
                                                                            : "The old copy of ")
                       + joinedNames (names)
                       + " could not be deleted: administrators are not allowed to (a locked file or a security program). "
                       + (uninstall || several ? "They are" : "It is")
                       + " hidden from plug-in hosts; allow the change and run the installer again to remove "
                       + (uninstall || several ? "them." : "it.");

            if (uninstall)
                sentence << "Some files of " << joinedNames (names) << " are still in use by a program; they ";
            else if (several)
                sentence << "The old copies of " << joinedNames (names) << " are still in use by a program; they ";
            else
                sentence << "The old copy of " << names[0] << " is still in use by a program; it ";

            const auto plural = uninstall || several;

            if (fate == Fate::stillLoadable)
                return sentence + "may still be loaded by plug-in hosts. Close every program that uses the plug-in and run the installer again.";

            sentence << (plural ? "are" : "is") << " hidden from plug-in hosts and will be deleted "
                     << (fate == Fate::atRestart ? "when Windows restarts." : "the next time the installer starts.");
            return sentence;
        }
    }

    static juce::StringArray newerCopySentences (const InstallReport& report, const NewerCopies& newer)
    {
        juce::StringArray sentences;

        if (report.uninstall)
            return sentences;

        for (const auto& outcome : report.outcomes)
        {
            if (! juce::isPositiveAndBelow (outcome.formatIndex, numFormats))
                continue;

            const auto& version = newer.installedVersions[(size_t) outcome.formatIndex];

            if (outcome.succeeded() && version.isNotEmpty())
                sentences.add (formatNames[outcome.formatIndex] + " " + version + " was replaced with the older " + newer.carriedVersion + ".");
        }

        return sentences;
    }

    juce::String failureWordsFor (const InstallReport& report, const NewerCopies& newer)
    {
        auto sentences = newerCopySentences (report, newer);
        sentences.insert (0, report.details());
        sentences.removeEmptyStrings();
        return sentences.joinIntoString ("\n");
    }

    juce::String wordsFor (const InstallReport& report, const NewerCopies& newer)
    {
        auto sentences = newerCopySentences (report, newer);

        // Formats deleted at restart first, in index order within each sentence.
        for (const auto fate : { Fate::atRestart, Fate::atNextStart, Fate::stillLoadable, Fate::refused })
        {
            juce::StringArray names;

            for (const auto& outcome : report.outcomes)
                if (outcome.succeeded() && outcome.stillInUse != juce::File() && fateOf (outcome) == fate)
                    names.add (formatNames[outcome.formatIndex]);

            if (! names.isEmpty())
                sentences.add (sentenceFor (names, report.uninstall, fate));
        }

        for (const auto& outcome : report.outcomes)
            if (outcome.succeeded() && ! outcome.oldCopiesKept.isEmpty())
                sentences.add (formatNames[outcome.formatIndex] + ": " + kv::install::describeKeptCopies (outcome.oldCopiesKept));

        return sentences.joinIntoString ("\n");
    }

    Fitted fit (const juce::String& words, const juce::Font& font, juce::Rectangle<float> outcomeArea, float unit, juce::Colour colour)
    {
        const auto u = unit;
        const auto width = juce::jmax (0.0f, outcomeArea.getWidth() - 4.0f * u);
        const auto iconArea = unit_geometry::inset (outcomeArea, 12.0f * u);
        const auto freeHeight = iconArea.getY() - outcomeArea.getY() - 2.0f * u;

        const auto wrapped = wrapped_text::shrinkToFit (words, font, colour, width, freeHeight, 2.5f * u, floorHeightUnits * u, u,
                                                        juce::Justification::horizontallyCentred);
        Fitted fitted;
        fitted.text = wrapped.text;
        fitted.textHeight = wrapped.textHeight;

        fitted.textArea = { outcomeArea.getX() + 2.0f * u, outcomeArea.getY() + u, width, fitted.text.getHeight() };

        // The icon keeps its place unless the note needs it; it never reaches "SUCCESS!".
        const auto iconTop = juce::jmax (iconArea.getY(), fitted.textArea.getBottom() + u);
        fitted.iconArea = iconArea.withTop (juce::jmin (iconTop, iconArea.getBottom()));
        return fitted;
    }
}
