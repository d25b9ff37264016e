#include "settings/panel_settings.h"

#include "look_and_feel/Palette.h"
#include "look_and_feel/WrappedText.h"
#include "panels/PanelLayout.h"
#include "platform/PlatformFolders.h"

#include <cstdlib>

panel_settings::panel_settings (const juce::File& settingsFileToEdit, DestinationCallback callback)
    : settingsFile (settingsFileToEdit)
    , destinationCallback (std::move (callback))
{
    for (const auto& format : formatTable)
        rows.add ({ format.name, format.settingsAttribute });

    // The boxes show the file's own spelling, not the main screen's destinations.
    const auto document = settings::readSettingsDocument (settingsFile);

    createCloseButton();
    setTitle ("Settings");
    setDescription (noteText);

    for (int i = 0; i < rows.size(); ++i)
    {
        auto editor = std::make_unique<juce::TextEditor>();
        editor->setReadOnly (true);
        editor->setCaretVisible (false);
        editor->setColour (juce::TextEditor::backgroundColourId, colour_surface);
        editor->setColour (juce::TextEditor::outlineColourId, colour_text_dim.withAlpha (0.3f));
        editor->setColour (juce::TextEditor::textColourId, colour_text_dim);
        editor->setText (document != nullptr ? document->getStringAttribute (rows[i].second) : juce::String(), false);
        editor->applyColourToAllText (colour_text_dim);
        addAndMakeVisible (*editor);
        pathEditors.push_back (std::move (editor));

        pathEditors.back()->setTitle (rows[i].first + " install folder");
        browseButtons.push_back (InvisibleButton::addTo (*this, *this, "BROWSE" + juce::String (i), "Browse for the " + rows[i].first + " install folder"));
    }
}

panel_settings::~panel_settings()
{
    closeButton = nullptr;
    chooser = nullptr;
}

void panel_settings::resized()
{
    layoutCloseButton();

    for (int i = 0; i < rows.size(); ++i)
    {
        pathEditors[(size_t) i]->setBounds (panel_layout::settingsEditorBounds (unit, i));
        browseButtons[(size_t) i]->setBounds (panel_layout::settingsBrowseBounds (unit, i));
    }
}

void panel_settings::paint (juce::Graphics& g)
{
    paintFrame (g, "SETTINGS");

    g.setFont (2.5f * unit);

    for (int i = 0; i < rows.size(); ++i)
    {
        const auto editorBounds = pathEditors[(size_t) i]->getBounds().toFloat();
        const auto& button = *browseButtons[(size_t) i];
        const auto buttonBounds = button.getBounds().toFloat();

        g.setColour (colour_text_dim);
        g.drawText (rows[i].first, panel_layout::settingsLabelBounds (editorBounds, unit), juce::Justification::centredLeft, true);

        g.setColour (InvisibleButton::faceColourOf (button));
        g.fillRoundedRectangle (buttonBounds, 0.5f * unit);

        g.setColour (colour_background);
        g.drawText ("BROWSE", buttonBounds, juce::Justification::centred, true);
    }

    if (saveProblem.isNotEmpty())
    {
        const auto area = panel_layout::settingsProblemBounds (unit);
        wrapped_text::shrinkToFit (saveProblem, g.getCurrentFont(), colour_orange, area.getWidth(), area.getHeight(), 2.5f * unit,
                                   1.5f * unit, unit, juce::Justification::topLeft)
            .text.draw (g, area);
    }

    g.setColour (colour_text_dim.withAlpha (0.7f));
    g.drawFittedText (noteText, panel_layout::settingsNoteBounds (unit), juce::Justification::topLeft, 3, 0.0f);
}

void panel_settings::buttonClicked (juce::Button* button)
{
    const auto name = button->getName();

    if (name == "X")
    {
        closePanel();
    }
    else if (name.startsWith ("BROWSE"))
    {
        const auto row = std::atoi (name.substring (6).toRawUTF8());

        if (juce::isPositiveAndBelow (row, rows.size()))
            openChooser (row);
    }
}

juce::File panel_settings::chooserStartingFolder (int row) const
{
    // The box may hold a Windows spelling from the settings file; an empty File lets the
    // chooser open at its own default place.
    const auto folder = kv::platform::fileFromPath (pathEditors[(size_t) row]->getText());
    return folder.isDirectory() ? folder : juce::File();
}

juce::String panel_settings::chooserTitle (int row) const
{
    return "Choose the " + rows[row].first + " install folder";
}

std::function<void (const juce::File&)> panel_settings::chooserCompletion (int row)
{
    return [safeThis = juce::Component::SafePointer<panel_settings> (this), row] (const juce::File& result)
    {
        if (safeThis != nullptr)
            safeThis->chooserFinished (row, result);
    };
}

void panel_settings::openChooser (int row)
{
    // Replacing the chooser destroys the previous one, whose completion then never runs.
    chooser = std::make_unique<juce::FileChooser> (chooserTitle (row), chooserStartingFolder (row), juce::String());

    chooser->launchAsync (juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectDirectories,
                          [completion = chooserCompletion (row)] (const juce::FileChooser& finished)
                          {
                              completion (finished.getResult());
                          });
}

void panel_settings::chooserFinished (int row, const juce::File& result)
{
    if (result == juce::File())
        return;

    const auto path = result.getFullPathName();
    const auto saved = saveDestinationSetting (settingsFile, rows[row].second, path);

    // A refused write keeps the box and the main screen on what the file holds: the folder
    // every start will use. Without a file the choice holds for this run, as it always has.
    saveProblem = saveProblemText (rows[row].first, saved);
    repaint();

    if (saveProblem.isNotEmpty())
    {
        juce::AccessibilityHandler::postAnnouncement (saveProblem, juce::AccessibilityHandler::AnnouncementPriority::high);
        return;
    }

    pathEditors[(size_t) row]->setText (path, false);

    if (destinationCallback)
        destinationCallback (row, result);
}

juce::String panel_settings::saveProblemText (const juce::String& formatName, SaveResult result) const
{
    const auto notSaved = "The " + formatName + " folder was not saved: ";
    const auto then = " Then choose the folder again. Until then every installer keeps using the folder shown.";

    if (result == SaveResult::fileRefused)
        return notSaved + "the settings file " + settingsFile.getFullPathName()
               + " cannot be changed (it is read-only, or locked by a security program). Allow changes to it, or ask whoever "
                 "looks after this computer."
               + then;

    if (result == SaveResult::folderRefused)
        return notSaved + "the installer is not allowed to write in " + settingsFile.getParentDirectory().getFullPathName()
               + ". Allow it, or ask whoever looks after this computer." + then;

    return {};
}
