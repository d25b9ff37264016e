#pragma once

#include "panels/ChangelogLayout.h"
#include "panels/OverlayPanel.h"

// The release notes, rendered from a small Markdown subset into styled, scrolling text.
class panel_changelog final : public OverlayPanel
{
public:
    panel_changelog (juce::String notes, juce::String productNameToShow);
    ~panel_changelog() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;

    // The scrolled text. It draws no background: the panel's shows through.
    class ChangelogContent final : public juce::Component
    {
    public:
        explicit ChangelogContent (const std::vector<ChangelogItem>& itemsToShow);

        // Lays the items out for a width and takes the height they need.
        void layoutItems (int width, float unitToUse);

        void paint (juce::Graphics&) override;
        std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

        const std::vector<ChangelogItem>* items = nullptr;
        std::vector<LaidOutItem> laidOutItems;
        int contentWidth = 0;
        float unit = 9.0f;

    private:
        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChangelogContent)
    };

    juce::String productName;
    std::vector<ChangelogItem> items;
    std::unique_ptr<ChangelogContent> content;
    std::unique_ptr<juce::Viewport> viewport;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (panel_changelog)
};
