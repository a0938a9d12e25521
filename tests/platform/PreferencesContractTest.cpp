// Contract tests of platform::PreferenceDomain: values written and
// synchronized are what a fresh object for the domain reads.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/Preferences.h"
#include "tests/platform/ContractHarness.h"

namespace {

using namespace orvane::contract;
using nlohmann::json;

class PlatformContractPreferences : public ::testing::Test {
protected:
    void SetUp() override { contractReset(); }
};

// Tests that strings, numbers, booleans, arrays and dictionaries survive a
// synchronize into a fresh domain object, that a later write of one key keeps
// the others, that an unset key reads as nothing, and that domains are apart.
TEST_F(PlatformContractPreferences, ValuesSurviveSynchronizeIntoAFreshDomain) {
    const std::string domain = "com.example.contract";
    const json apps = json::array({{{"tile-data", {{"bundle-identifier", "com.apple.Safari"}, {"file-label", "Safari"}}},
                                    {"tile-type", "file-tile"}}});
    {
        auto prefs = platform::preferences(domain);
        EXPECT_FALSE(prefs->copyValue("persistent-apps").has_value());
        prefs->setValue("persistent-apps", apps);
        prefs->setValue("tilesize", 48);
        prefs->setValue("autohide", true);
        prefs->setValue("title", std::string("Orvane – ✓"));
        EXPECT_EQ(prefs->copyValue("tilesize"), json(48)) << "the pending cache is read back before synchronize";
        ASSERT_TRUE(prefs->synchronize());
    }
    {
        auto prefs = platform::preferences(domain);
        EXPECT_EQ(prefs->copyValue("persistent-apps"), apps);
        EXPECT_EQ(prefs->copyValue("tilesize"), json(48));
        EXPECT_EQ(prefs->copyValue("autohide"), json(true));
        EXPECT_EQ(prefs->copyValue("title"), json("Orvane – ✓"));
        EXPECT_FALSE(prefs->copyValue("missing").has_value());
        prefs->setValue("tilesize", 64);
        ASSERT_TRUE(prefs->synchronize());
    }
    auto prefs = platform::preferences(domain);
    EXPECT_EQ(prefs->copyValue("tilesize"), json(64));
    EXPECT_EQ(prefs->copyValue("persistent-apps"), apps) << "keys not written again are kept";
    EXPECT_FALSE(platform::preferences("com.example.other")->copyValue("tilesize").has_value());
}

}  // namespace
