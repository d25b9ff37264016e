#pragma once

#include <juce_core/juce_core.h>

// The pre-filled support e-mail: a mailto link whose subject and body name the product
// and the machine, so a first reply need not ask for them.

struct SystemDescription
{
    juce::String operatingSystem;
    juce::String device;
    juce::String cpu;

    static SystemDescription ofThisMachine();
};

juce::String supportMailSubject (const juce::String& productName);
juce::String supportMailBody (const juce::String& productName, const juce::String& productVersion,
                              const SystemDescription& system);

// "mailto:" + address + "?subject=" + escaped subject + "&body=" + escaped body. Whatever
// the system strings hold, the escaping keeps the link one valid URI.
juce::String supportMailUri (const juce::String& productName, const juce::String& productVersion,
                             const SystemDescription& system);
