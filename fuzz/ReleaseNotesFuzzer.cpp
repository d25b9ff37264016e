// The release notes on arbitrary text: parsing, the styled runs and the layout must never
// crash, and every item's runs must cover exactly its text.
#include "FuzzSupport.h"
#include "look_and_feel/CustomLookAndFeel.h"
#include "panels/ChangelogLayout.h"
#include "panels/ReleaseNotes.h"
#include "panels/StyledRuns.h"

// Fonts and their caches are set up once, before any input, so that they are not taken
// for leaks of the first input.
static CustomLookAndFeel* lookAndFeel = nullptr;

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    kv::fuzz::initialiseJuce();
    lookAndFeel = new CustomLookAndFeel();
    juce::LookAndFeel::setDefaultLookAndFeel (lookAndFeel);
    layoutChangelogItems (parseNotes ("# T\n## H **b** *i*\n- x\ntext"), 552, 6.0f);

    std::atexit ([]
                 {
                     juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
                     delete lookAndFeel;
                     kv::fuzz::shutdownJuce(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    const auto notes = juce::String::createStringFromData (data, (int) size);
    const auto items = parseNotes (notes);

    for (const auto& item : items)
    {
        kv::fuzz::require (item.kind != ChangelogItemKind::spacer || item.text.isEmpty());

        juce::AttributedString runs;
        const juce::Font font (12.0f);
        appendStyledRuns (runs, item.text, font, font.boldened(), font.italicised(), juce::Colours::white);

        // Asterisks that open a span are dropped, nothing else is.
        kv::fuzz::require (runs.getText().length() <= item.text.length());
        kv::fuzz::require (runs.getText().removeCharacters ("*") == item.text.removeCharacters ("*"));
    }

    // Laying out thousands of lines is slow and tells nothing new; keep it to small inputs.
    if (size < 4096)
    {
        const auto layout = layoutChangelogItems (items, 552, 6.0f);
        kv::fuzz::require (layout.items.size() == items.size());
        kv::fuzz::require (layout.height > 0);
    }

    return 0;
}
