#include <gtest/gtest.h>

#include "messages/Messages.h"

using kv::archive::ArchiveCheck;
using kv::archive::ArchiveDefect;
using kv::archive::ArchiveFinding;
using kv::archive::ArchiveVerdict;

namespace
{
    constexpr juce::int64 mebibyte = 1024 * 1024;
    constexpr juce::int64 gibibyte = 1024 * mebibyte;

    ArchiveFinding withCharacter (ArchiveDefect defect, juce::juce_wchar c)
    {
        auto finding = ArchiveFinding::of (defect);
        finding.character = c;
        return finding;
    }
}

// A defect added without words would reach a maker as ": . Fix: ." and fail the build unexplained.
TEST (ArchiveWords, EveryDefectHasAReasonAndAFixForTheMaker)
{
    EXPECT_TRUE (kv::messages::archiveReason ({}).isEmpty());
    EXPECT_TRUE (kv::messages::fixForMaker ({}, "B.vst3").isEmpty());

    for (int i = (int) ArchiveDefect::none + 1; i <= (int) ArchiveDefect::lastDefect; ++i)
    {
        const auto finding = ArchiveFinding::naming ((ArchiveDefect) i, "B.vst3/a", "B.vst3/A");
        EXPECT_TRUE (kv::messages::archiveReason (finding).isNotEmpty()) << "defect " << i;
        EXPECT_TRUE (kv::messages::fixForMaker (finding, "B.vst3").isNotEmpty()) << "defect " << i;
    }
}

// The maker's line for defects no archive in the other tests reaches, word for word: the reason
// with its numbers and names, and the fix its kind of defect takes.
TEST (ArchiveWords, TheMakersLineGivesTheReasonWithItsValuesAndTheFixForItsKind)
{
    struct Case
    {
        ArchiveFinding finding;
        const char* entry;
        const char* line;
    };

    const Case cases[] = {
        { ArchiveFinding::of (ArchiveDefect::tooShort), "",
          "v.zip: it is not a ZIP archive, or it is cut short. Fix: the archive is damaged: make it again from the bundle." },
        { ArchiveFinding::of (ArchiveDefect::bytesAfterEnd, 1), "",
          "v.zip: it has 1 byte after its end record (data appended to the archive?). Fix: remove what was added after the archive, or make it again from the bundle." },
        { ArchiveFinding::of (ArchiveDefect::bytesBeforeEndRecord, 7), "",
          "v.zip: it has 7 bytes between its central directory and its end record. Fix: the archive is damaged: make it again from the bundle." },
        { ArchiveFinding::of (ArchiveDefect::directoryBroken, 3), "",
          "v.zip: its central directory is broken at entry 3. Fix: the archive is damaged: make it again from the bundle." },
        { ArchiveFinding::of (ArchiveDefect::nameNotUtf8, 2), "",
          "v.zip: entry 2 has a name that is not well-formed UTF-8. Fix: the archive is damaged: make it again from the bundle." },
        { ArchiveFinding::of (ArchiveDefect::zip64), "B.vst3/a",
          "v.zip, entry \"B.vst3/a\": it is written with ZIP64 records, which the installer cannot read. Fix: write it without ZIP64 records: "
          "no plug-in bundle needs them (Info-ZIP: leave out -fz and write to a file, not a pipe)." },
        { ArchiveFinding::of (ArchiveDefect::descriptorMissing), "B.vst3/a",
          "v.zip, entry \"B.vst3/a\": its data descriptor is missing. Fix: make it again from the bundle with a common ZIP writer (Info-ZIP, "
          "7-Zip, Python's zipfile) and change nothing in it afterwards." },
        { ArchiveFinding::of (ArchiveDefect::descriptorSizeDiffers, 4000, 5000), "B.vst3/a",
          "v.zip, entry \"B.vst3/a\": its data descriptor gives uncompressed size 4000, its central directory 5000. Fix: make it again from "
          "the bundle with a common ZIP writer (Info-ZIP, 7-Zip, Python's zipfile) and change nothing in it afterwards." },
        { ArchiveFinding::of (ArchiveDefect::compressionMethod, 14), "B.vst3/a",
          "v.zip, entry \"B.vst3/a\": compression method 14 is neither stored nor deflated. Fix: use stored or deflated entries (7-Zip: -mm=Deflate)." },
        { ArchiveFinding::of (ArchiveDefect::dotDotPart), "B.vst3/../a",
          "v.zip, entry \"B.vst3/../a\": its path has an empty, \".\" or \"..\" part. Fix: zip the bundle itself, so that every entry lies "
          "inside B.vst3 and nothing beside it." },
        { ArchiveFinding::of (ArchiveDefect::absoluteName), "/a",
          "v.zip, entry \"/a\": its name is absolute, names a drive or holds control characters. Fix: zip the bundle itself, so that every "
          "entry lies inside B.vst3 and nothing beside it." },
        { ArchiveFinding::of (ArchiveDefect::windowsControlChar), "B.vst3/a\tb",
          "v.zip, entry \"B.vst3/a\tb\": its name holds a control character, which Windows does not allow in file names. Fix: rename it in "
          "the bundle without any of < > : \" | ? * or control characters." },
        { withCharacter (ArchiveDefect::windowsForbiddenChar, '*'), "B.vst3/a*",
          "v.zip, entry \"B.vst3/a*\": its name holds \"*\", which Windows does not allow in file names. Fix: rename it in the bundle without "
          "any of < > : \" | ? * or control characters." },
        // A part that reads like another defect's words gets its own defect's fix.
        { ArchiveFinding::naming (ArchiveDefect::trailingDotOrSpace, "local header."), "B.vst3/local header.",
          "v.zip, entry \"B.vst3/local header.\": \"local header.\" in its path ends in a dot or a space, which Windows drops. Fix: rename it "
          "in the bundle without the dot or space at the end." },
        { ArchiveFinding::of (ArchiveDefect::cannotSpareMemory, 3 * gibibyte), "B.vst3/a",
          "v.zip, entry \"B.vst3/a\": this computer cannot spare the 3.0 GB it takes to unpack. Fix: the archive is damaged: make it again from the bundle." },
        { ArchiveFinding::naming (ArchiveDefect::secondReaderRefuses, {}, "Not a zip archive"), "",
          "v.zip: libzip, the build's second ZIP reader, refuses it (Not a zip archive). Fix: the archive is damaged: make it again from the bundle." },
    };

    for (const auto& c : cases)
    {
        const ArchiveCheck check { ArchiveVerdict::damaged, c.entry, c.finding };
        EXPECT_EQ (kv::messages::describeForMaker ("v.zip", "B.vst3", check), juce::String (c.line));
    }

    EXPECT_EQ (kv::messages::describeForMaker ("v.zip", "B.vst3", {}), juce::String ("v.zip: ok"));
}

// The failure view says how much memory unpacking takes against what the machine has; of a
// damaged or unsafe archive, only the entry, as before.
TEST (ArchiveWords, TheFailureViewSaysHowMuchMemoryUnpackingTakesAndOfADamagedArchiveOnlyTheEntry)
{
    kv::install::FormatOutcome memory;
    memory.formatIndex = 0;
    memory.problem = kv::install::InstallProblem::notEnoughMemory;
    memory.archiveFinding = ArchiveFinding::of (ArchiveDefect::tooLittleMemory, 4608 * mebibyte + 16 * mebibyte, 4 * gibibyte);

    EXPECT_EQ (kv::messages::failureLine (memory, false),
               juce::String ("VST3 was not installed: this computer has too little memory to unpack it (unpacking it takes 4.5 GB of memory, "
                             "and this computer has 4.0 GB). Any copy already there is kept as it was."));

    kv::install::FormatOutcome damaged;
    damaged.formatIndex = 1;
    damaged.problem = kv::install::InstallProblem::archiveDamaged;
    damaged.detail = "Strandline2.clap";
    damaged.archiveFinding = ArchiveFinding::of (ArchiveDefect::dataDoesNotInflate);

    EXPECT_EQ (kv::messages::failureLine (damaged, false),
               juce::String ("CLAP was not installed: the installer's archive for it is damaged (Strandline2.clap). Any copy already there is "
                             "kept as it was."));
}
