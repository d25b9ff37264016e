#include <gtest/gtest.h>

#include <iostream>

#include <juce_gui_basics/juce_gui_basics.h>

#include "fs/StrictRules.h"
#include "registration/Registration.h"
#include "support/Sandbox.h"

// A failing test names the handle that made Windows' rules refuse a step, if one did.
class RefusalReporter final : public testing::EmptyTestEventListener
{
    void OnTestStart (const testing::TestInfo&) override { before = kv::fs::strict::refusedCount(); }

    void OnTestEnd (const testing::TestInfo& test) override
    {
        const auto refused = kv::fs::strict::refusedCount() - before;

        if (test.result()->Failed() && refused > 0)
            std::cout << "Windows' rules refused " << refused << " rename(s) or removal(s) in this test; the last: "
                      << kv::fs::strict::lastRefusal() << std::endl;
    }

    int before = 0;
};

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    // Nothing in the suite may reach the real system folders: every run gets a fresh root.
    kv::test::Sandbox::installProcessRoot();

    // A pass in this process keeps a small stand-in for the installer, not the whole suite.
    const auto standIn = juce::File::createTempFile (".exe");
    standIn.replaceWithText ("stand-in for the installer");
    kv::registration::keepInsteadOfRunningExecutable (standIn);

    // The file work is held to Windows' rules on open handles in every test.
    kv::fs::strict::enable (true);
    testing::UnitTest::GetInstance()->listeners().Append (new RefusalReporter);

    juce::ScopedJuceInitialiser_GUI juce;
    const auto result = RUN_ALL_TESTS();

    kv::test::Sandbox::removeProcessRoot();
    standIn.deleteFile();
    return result;
}
