#include "platform/InstalledVersion.h"

#include "pe/PeVersionReader.h"

namespace kv::platform
{
    bool itemExists (const juce::File& item) { return item.exists(); }

    juce::String readFileVersion (const juce::File& file)
    {
        if (! file.existsAsFile())
            return {};

        return juce::String (kv::pe::readPeFileVersion (file.getFullPathName().toStdString()));
    }
}
