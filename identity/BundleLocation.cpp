#include "identity/BundleLocation.h"

bool isUsableDestination (const juce::File& folder)
{
    return folder != juce::File() && juce::File::isAbsolutePath (folder.getFullPathName());
}

juce::String bundleNameFor (const juce::String& productName, int formatIndex)
{
    return productName + formatExtensions[formatIndex];
}

juce::File bundleFileFor (const juce::File& destinationFolder, const juce::String& productName, int formatIndex)
{
    return isUsableDestination (destinationFolder) ? destinationFolder.getChildFile (bundleNameFor (productName, formatIndex)) : juce::File();
}
