#include "panels/panel_changelog.h"

#include "look_and_feel/Palette.h"
#include "panels/PanelLayout.h"

panel_changelog::ChangelogContent::ChangelogContent (const std::vector<ChangelogItem>& itemsToShow)
    : items (&itemsToShow)
{
}

void panel_changelog::ChangelogContent::layoutItems (int width, float unitToUse)
{
    contentWidth = width;
    unit = unitToUse;

    auto layout = layoutChangelogItems (*items, width, unit);
    laidOutItems = std::move (layout.items);
    setBounds (getX(), getY(), contentWidth, layout.height);
}

void panel_changelog::ChangelogContent::paint (juce::Graphics& g)
{
    for (const auto& item : laidOutItems)
    {
        if (item.kind == ChangelogItemKind::spacer)
            continue;

        if (item.kind == ChangelogItemKind::bullet)
        {
            g.setColour (colour_text_dim);
            g.setFont (bulletGlyphFont (unit));
            g.drawText (juce::String::charToString ((juce::juce_wchar) 0x2022), bulletGlyphBounds (item.y, unit),
                        juce::Justification::topLeft, false);
        }

        item.text.draw (g, textAreaFor (item, contentWidth, unit));
    }
}

std::unique_ptr<juce::AccessibilityHandler> panel_changelog::ChangelogContent::createAccessibilityHandler()
{
    return std::make_unique<juce::AccessibilityHandler> (*this, juce::AccessibilityRole::staticText);
}

panel_changelog::panel_changelog (juce::String notes, juce::String productNameToShow)
    : productName (std::move (productNameToShow))
    , items (parseNotes (notes))
{
    content = std::make_unique<ChangelogContent> (items);

    // The notes as screen readers get them: their words, without the Markdown marks.
    setTitle ("Release notes");
    juce::StringArray lines;
    for (const auto& item : items)
        if (item.kind != ChangelogItemKind::spacer)
            lines.add ((item.kind == ChangelogItemKind::bullet ? juce::String::fromUTF8 ("\xe2\x80\xa2 ") : juce::String()) + item.text.removeCharacters ("*"));
    content->setTitle ("Release notes of " + productName);
    content->setDescription (lines.joinIntoString ("\n"));

    viewport = std::make_unique<juce::Viewport>();
    addAndMakeVisible (*viewport);
    // The panel keeps ownership of the content; only a vertical bar, and only when needed.
    viewport->setViewedComponent (content.get(), false);
    viewport->setScrollBarsShown (true, false);

    createCloseButton();
}

panel_changelog::~panel_changelog()
{
    closeButton = nullptr;
    viewport = nullptr;
}

void panel_changelog::paint (juce::Graphics& g)
{
    paintFrame (g, "CHANGELOG - " + productName.toUpperCase());
}

void panel_changelog::resized()
{
    // The reader keeps their place: the same share of the notes stays at the top.
    const auto oldHeight = content->getHeight();
    const auto oldTop = viewport->getViewPositionY();

    viewport->setBounds (panel_layout::bodyBounds (unit));
    content->layoutItems (viewport->getMaximumVisibleWidth(), unit);

    if (oldHeight > 0)
        viewport->setViewPosition (0, juce::roundToInt ((double) oldTop * content->getHeight() / oldHeight));

    layoutCloseButton();
}

void panel_changelog::buttonClicked (juce::Button*)
{
    closePanel();
}
