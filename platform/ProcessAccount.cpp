#include "platform/ProcessAccount.h"

namespace kv::platform
{
    juce::String operatingSystemDescription()
    {
        return juce::SystemStats::getOperatingSystemName() + (juce::SystemStats::isOperatingSystem64Bit() ? ", 64-bit" : ", 32-bit");
    }

    juce::String accountName()
    {
        const auto name = juce::SystemStats::getLogonName();
        return name.isNotEmpty() ? name : juce::String ("(unknown)");
    }
}
