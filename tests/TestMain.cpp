#include <gtest/gtest.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include "support/Sandbox.h"

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    // Nothing in the suite may reach the real system folders: every run gets a fresh root.
    kv::test::Sandbox::installProcessRoot();

    juce::ScopedJuceInitialiser_GUI juce;
    const auto result = RUN_ALL_TESTS();

    kv::test::Sandbox::removeProcessRoot();
    return result;
}
