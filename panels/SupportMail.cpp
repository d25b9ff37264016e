#include "panels/SupportMail.h"

#include "identity/ProductConstants.h"

SystemDescription SystemDescription::ofThisMachine()
{
    return { juce::SystemStats::getOperatingSystemName(),
             juce::SystemStats::getDeviceDescription(),
             juce::SystemStats::getCpuModel() };
}

juce::String supportMailSubject (const juce::String& productName)
{
    return productName + " help";
}

juce::String supportMailBody (const juce::String& productName, const juce::String& productVersion,
                              const SystemDescription& system)
{
    return "Product: " + productName + " " + productVersion + "\n"
           + "Operating System: " + system.operatingSystem + "\n"
           + "Device: " + system.device + "\n"
           + "CPU: " + system.cpu + "\n"
           + "\n"
           + "Your problem, and the steps to recreate it, if possible:\n";
}

juce::String supportMailUri (const juce::String& productName, const juce::String& productVersion,
                             const SystemDescription& system)
{
    return "mailto:" + product::supportMailAddress
           + "?subject=" + juce::URL::addEscapeChars (supportMailSubject (productName), true)
           + "&body=" + juce::URL::addEscapeChars (supportMailBody (productName, productVersion, system), true);
}
