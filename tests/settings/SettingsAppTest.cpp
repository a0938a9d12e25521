// Tests of the settings window's application record.
#include <gtest/gtest.h>

#include "platform/Json.h"
#include "settings/SettingsApp.h"

namespace orvane {
namespace {

// Tests that id and path are required (empty accepted) and only name and policy are filled in.
TEST(SettingsAppTest, NeedsIdAndPathAndFillsNameAndPolicy) {
    const auto minimal = SettingsApp::fromDictionary({{"id", "com.x"}, {"path", ""}});
    ASSERT_TRUE(minimal);
    EXPECT_EQ(minimal->dictionary(), (nlohmann::json{{"id", "com.x"}, {"name", "应用"}, {"path", ""}, {"policy", "auto"}}));
    EXPECT_FALSE(SettingsApp::fromDictionary({{"path", "/Applications/Safari.app"}}));
    EXPECT_FALSE(SettingsApp::fromDictionary({{"id", "com.x"}}));
    EXPECT_FALSE(SettingsApp::fromDictionary({{"id", 7}, {"path", "/A.app"}}));
    EXPECT_FALSE(SettingsApp::fromDictionary(nlohmann::json::array()));

    const auto odd = SettingsApp::fromDictionary({{"id", ""}, {"path", "/A.app"}, {"name", 3}, {"policy", "sometimes"}});
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->name(), "应用");
    EXPECT_EQ(odd->policy(), "sometimes");
    EXPECT_EQ(SettingsApp::fromDictionary(odd->dictionary())->dictionary(), odd->dictionary());
}

}  // namespace
}  // namespace orvane
