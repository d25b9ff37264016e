#pragma once

#include <gtest/gtest.h>

#include "identity/BundleLocation.h"
#include "look_and_feel/Palette.h"
#include "main_screen/Commands.h"
#include "main_screen/EmbeddedResources.h"
#include "main_screen/MainComponent.h"
#include "support/ImageProbes.h"
#include "support/Sandbox.h"

namespace kv::test
{
    // A real main screen on a sandbox root. Bundles can be laid out before it is built.
    struct MainScreenFixture : public ::testing::Test
    {
        Sandbox sandbox;
        std::unique_ptr<MainComponent> screen;

        juce::File defaultDestination (int formatIndex) const
        {
            static const char* paths[] = { "C:/Program Files/Common Files/VST3",
                                           "C:/Program Files/Common Files/CLAP",
                                           "C:/Program Files/Common Files/Avid/Audio/Plug-Ins" };
            return sandbox.windowsPath (paths[formatIndex]);
        }

        juce::File defaultBundle (int formatIndex) const
        {
            return bundleFileFor (defaultDestination (formatIndex), "Strandline2", formatIndex);
        }

        MainComponent& build()
        {
            screen = std::make_unique<MainComponent>();
            return *screen;
        }

        void TearDown() override
        {
            screen = nullptr;
            juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
        }

        juce::Image render() const
        {
            return screen->createComponentSnapshot (screen->getLocalBounds(), false, 1.0f);
        }

        void click (const juce::String& name)
        {
            for (auto* child : screen->getChildren())
                if (child->getName() == name)
                    if (auto* button = dynamic_cast<juce::Button*> (child))
                        return screen->buttonClicked (button);

            FAIL() << "no button " << name;
        }

        juce::Button* button (const juce::String& name) const
        {
            for (auto* child : screen->getChildren())
                if (child->getName() == name)
                    return dynamic_cast<juce::Button*> (child);

            return nullptr;
        }
    };

    // True when two colours differ by at most a few steps per channel.
    inline ::testing::AssertionResult coloursClose (juce::Colour actual, juce::Colour expected, int tolerance = 3)
    {
        if (looksLike (actual, expected, tolerance))
            return ::testing::AssertionSuccess();

        return ::testing::AssertionFailure() << "got " << actual.toDisplayString (true) << ", expected " << expected.toDisplayString (true);
    }
}
