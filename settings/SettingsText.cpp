#include "settings/SettingsText.h"

#include "text/TextEncoding.h"

namespace settings
{
    namespace
    {
        bool isWellFormed (const juce::String& text)
        {
            const auto* raw = text.toRawUTF8();
            return kv::text::isWellFormedUtf8 (raw, std::strlen (raw));
        }

        bool elementTextIsWellFormed (const juce::XmlElement& element)
        {
            if (element.isTextElement())
                return isWellFormed (element.getText());

            if (! isWellFormed (element.getTagName()))
                return false;

            for (int i = 0; i < element.getNumAttributes(); ++i)
                if (! isWellFormed (element.getAttributeName (i)) || ! isWellFormed (element.getAttributeValue (i)))
                    return false;

            return true;
        }
    }

    bool isWellFormedFileText (const void* bytes, size_t numBytes)
    {
        const auto* data = static_cast<const juce::uint8*> (bytes);
        const auto isLittleEndian = numBytes >= 2 && data[0] == 0xff && data[1] == 0xfe;
        const auto isBigEndian = numBytes >= 2 && data[0] == 0xfe && data[1] == 0xff;

        if (isLittleEndian || isBigEndian)
            return kv::text::isWellFormedUtf16 (data + 2, numBytes - 2, isBigEndian);

        return kv::text::isWellFormedUtf8 (data, numBytes);
    }

    juce::String decodeFileText (const void* bytes, size_t numBytes)
    {
        const auto* data = static_cast<const juce::uint8*> (bytes);
        const auto isLittleEndian = numBytes >= 2 && data[0] == 0xff && data[1] == 0xfe;
        const auto isBigEndian = numBytes >= 2 && data[0] == 0xfe && data[1] == 0xff;

        if (! isLittleEndian && ! isBigEndian)
        {
            const auto hasMark = numBytes >= 3 && data[0] == 0xef && data[1] == 0xbb && data[2] == 0xbf;
            return hasMark ? juce::String::fromUTF8 (reinterpret_cast<const char*> (data + 3), (int) numBytes - 3)
                           : juce::String::fromUTF8 (reinterpret_cast<const char*> (data), (int) numBytes);
        }

        const auto unitAt = [=] (size_t i)
        {
            const auto first = data[2 + i * 2], second = data[3 + i * 2];
            return (juce::uint32) (isBigEndian ? (first << 8) | second : (second << 8) | first);
        };

        const auto numUnits = (numBytes - 2) / 2;
        std::vector<juce::juce_wchar> codePoints;
        codePoints.reserve (numUnits + 1);

        for (size_t i = 0; i < numUnits; ++i)
        {
            auto unit = unitAt (i);

            if (unit >= 0xd800 && unit <= 0xdbff && i + 1 < numUnits)
                unit = 0x10000 + ((unit - 0xd800) << 10) + (unitAt (++i) - 0xdc00);

            codePoints.push_back ((juce::juce_wchar) unit);
        }

        codePoints.push_back (0);
        return juce::String (juce::CharPointer_UTF32 (codePoints.data()));
    }

    int countElementTags (const juce::String& text)
    {
        // Every '<' that could open an element counts, wherever it stands: closing tags
        // can be faked inside values and comments, so nothing is subtracted.
        int count = 0;
        juce::juce_wchar previous = 0;

        for (auto p = text.getCharPointer(); ! p.isEmpty();)
        {
            const auto c = p.getAndAdvance();

            if (previous == '<' && c != '/' && c != '?' && c != '!')
                ++count;

            previous = c;
        }

        return count;
    }

    bool holdsOnlyWellFormedText (const juce::XmlElement& document)
    {
        // Walked with a list, not recursion: the tree may be as deep as the parser allowed.
        juce::Array<const juce::XmlElement*> pending { &document };

        while (! pending.isEmpty())
        {
            const auto* element = pending.removeAndReturn (pending.size() - 1);

            if (! elementTextIsWellFormed (*element))
                return false;

            for (auto* child = element->getFirstChildElement(); child != nullptr; child = child->getNextElement())
                pending.add (child);
        }

        return true;
    }
}
