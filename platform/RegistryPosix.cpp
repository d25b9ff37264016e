#include "platform/Registry.h"

#include "platform/PlatformFolders.h"

// The stand-in: <sandbox root>/registry/HKEY_LOCAL_MACHINE/<key>.reg, written as regedit
// exports a key ("name"="text", "name"=dword:0000000a), so a reader knows the format.
namespace kv::platform::registry
{
    juce::File standInFileOf (const juce::String& subKey)
    {
        auto file = sandboxRoot().getChildFile ("registry").getChildFile ("HKEY_LOCAL_MACHINE");

        for (const auto& part : juce::StringArray::fromTokens (subKey, "\\", {}))
            if (part.isNotEmpty() && part != "." && part != "..")
                file = file.getChildFile (part);

        // Appended, not swapped in: a key named "Korvane.Strandline2" keeps its whole name.
        return file.getSiblingFile (file.getFileName() + ".reg");
    }

    static juce::String quoted (const juce::String& text)
    {
        return "\"" + text.replace ("\\", "\\\\").replace ("\"", "\\\"") + "\"";
    }

    static juce::String unquoted (const juce::String& text)
    {
        return text.trim().unquoted().replace ("\\\"", "\"").replace ("\\\\", "\\");
    }

    bool writeKey (const juce::String& subKey, const std::vector<Value>& values)
    {
        juce::String text ("[HKEY_LOCAL_MACHINE\\" + subKey + "]\n");

        for (const auto& value : values)
            text << quoted (value.name) << "="
                 << (value.isNumber ? "dword:" + juce::String::toHexString ((int) value.number).paddedLeft ('0', 8) : quoted (value.text))
                 << "\n";

        const auto file = standInFileOf (subKey);
        return file.getParentDirectory().createDirectory() && file.replaceWithText (text, false, false, "\n");
    }

    bool deleteKey (const juce::String& subKey)
    {
        const auto file = standInFileOf (subKey);
        return ! file.exists() || file.deleteFile();
    }

    std::optional<std::vector<Value>> readKey (const juce::String& subKey)
    {
        const auto file = standInFileOf (subKey);

        if (! file.existsAsFile())
            return std::nullopt;

        std::vector<Value> values;

        for (const auto& line : juce::StringArray::fromLines (file.loadFileAsString()))
        {
            if (! line.startsWithChar ('"'))
                continue;

            const auto split = line.indexOf ("\"=") + 1;
            const auto name = unquoted (line.substring (0, split));
            const auto data = line.substring (split + 1);

            if (data.startsWith ("dword:"))
                values.push_back (Value::dword (name, (juce::uint32) data.substring (6).getHexValue64()));
            else
                values.push_back (Value::string (name, unquoted (data)));
        }

        return values;
    }
}
