#include "platform/Registry.h"
#include "support/Sandbox.h"

#include <gtest/gtest.h>

using namespace kv::platform;

// Key names are the maker's and product's, dots included ("Korvane.Strandline2"): two keys that
// differ only after a dot are two keys, and removing one leaves the other.
TEST (RegistryStandIn, KeysThatDifferAfterADotAreKeptApart)
{
    kv::test::Sandbox sandbox;
    const juce::String uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

    ASSERT_TRUE (registry::writeKey (uninstall + "Korvane.Strandline2", { registry::Value::string ("DisplayName", "Strandline2") }));
    ASSERT_TRUE (registry::writeKey (uninstall + "Korvane.Other", { registry::Value::string ("DisplayName", "Other") }));

    const auto ours = registry::readKey (uninstall + "Korvane.Strandline2");
    ASSERT_TRUE (ours.has_value());
    ASSERT_EQ (ours->size(), 1u);
    EXPECT_EQ ((*ours)[0].text, "Strandline2");

    ASSERT_TRUE (registry::deleteKey (uninstall + "Korvane.Other"));
    EXPECT_TRUE (registry::readKey (uninstall + "Korvane.Strandline2").has_value());
    EXPECT_FALSE (registry::readKey (uninstall + "Korvane.Other").has_value());
}
