#include "settings/SettingsText.h"

#include "platform/TextEncoding.h"

namespace settings
{
    namespace
    {
        bool isWellFormed (const juce::String& text)
        {
            const auto* raw = text.toRawUTF8();
            return kv::platform::isWellFormedUtf8 (raw, std::strlen (raw));
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
            return kv::platform::isWellFormedUtf16 (data + 2, numBytes - 2, isBigEndian);

        return kv::platform::isWellFormedUtf8 (data, numBytes);
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
