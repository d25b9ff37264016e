#include "platform/InstalledVersion.h"

#if ! JUCE_WINDOWS
#include "pe/PeVersionReader.h"
#endif

namespace kv::platform
{
    juce::String readFileVersion (const juce::File& file)
    {
        if (! file.existsAsFile())
            return {};

#if JUCE_WINDOWS
        return file.getVersion();
#else
        return juce::String (kv::pe::readPeFileVersion (file.getFullPathName().toStdString()));
#endif
    }
}
