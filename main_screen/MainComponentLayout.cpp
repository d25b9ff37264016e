#include "main_screen/MainComponent.h"

#include "main_screen/MainLayout.h"
#include "panels/panel_changelog.h"
#include "panels/panel_eula.h"
#include "panels/panel_support.h"
#include "settings/panel_settings.h"

void MainComponent::resized()
{
    unit = (float) getWidth() * 0.01f;

    for (size_t k = 0; k < extraButtons.size(); ++k)
        extraButtons[k]->setBounds (main_layout::extraButton ((int) k, unit));

    installButton->setBounds (main_layout::installButton (unit));
    selectAllButton->setBounds (main_layout::selectAllButton (unit));

    for (size_t i = 0; i < formatButtons.size(); ++i)
        formatButtons[i]->setBounds (main_layout::formatButton ((int) i, unit));

    helpLabel->setFont (customLookAndFeel.regularFont (3.0f * unit));
    helpLabel->setBounds (main_layout::helpLabel (unit));
    outcomeText->setBounds (main_layout::outcomeArea (unit).toNearestInt());

    if (noticeButton != nullptr)
        noticeButton->setBounds (main_layout::noticeArea (unit).toNearestInt());

    auto relayout = [this] (juce::Component* panel, float& panelUnit)
    {
        panelUnit = unit;
        panel->setBounds (getBounds());
        panel->setAlwaysOnTop (true);
    };

    if (eulaPanel != nullptr) relayout (eulaPanel.get(), eulaPanel->unit);
    if (supportPanel != nullptr) relayout (supportPanel.get(), supportPanel->unit);
    if (settingsPanel != nullptr) relayout (settingsPanel.get(), settingsPanel->unit);
    if (changelogPanel != nullptr) relayout (changelogPanel.get(), changelogPanel->unit);
}

void MainComponent::modifierKeysChanged (const juce::ModifierKeys& modifiers)
{
    const auto newFlags = modifiers.getRawFlags() & 0x0f;

    if ((newFlags & juce::ModifierKeys::shiftModifier) != (lastModifierFlags & juce::ModifierKeys::shiftModifier))
    {
        uninstallMode = uninstallByCommandLine || (newFlags & juce::ModifierKeys::shiftModifier) != 0;
        uninstallFromKeyboard = uninstallMode && installButton->hasKeyboardFocus (false);
        repaint();
    }

    lastModifierFlags = newFlags;
}
