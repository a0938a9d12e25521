#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "model/AppEntry.h"
#include "platform/Workspace.h"

namespace orvane {
namespace {

using nlohmann::json;

class FakeRunningApplication : public platform::RunningApplication {
public:
    std::optional<std::string> identifier, path, name;
    int processIdentifier() const override { return 42; }
    std::optional<std::string> bundleIdentifier() const override { return identifier; }
    std::optional<std::string> bundlePath() const override { return path; }
    std::optional<std::string> localizedName() const override { return name; }
    platform::ActivationPolicy activationPolicy() const override { return platform::ActivationPolicy::regular; }
    bool isTerminated() const override { return false; }
    bool isActive() const override { return false; }
};

// Tests that a dictionary needs a usable path and fills id, name and policy from it.
TEST(AppEntryTest, DictionaryDerivesMissingFieldsFromPath) {
    auto safari = AppEntry::fromDictionary({{"path", "/Applications/Safari.app"}});
    ASSERT_TRUE(safari);
    EXPECT_EQ(safari->id, "/Applications/Safari.app");
    EXPECT_EQ(safari->name, "Safari");
    EXPECT_EQ(safari->policy, "auto");

    auto numberName = AppEntry::fromDictionary({{"path", "/Applications/Foo.app"}, {"name", 7}, {"id", ""}});
    ASSERT_TRUE(numberName);
    EXPECT_EQ(numberName->name, "Foo");
    EXPECT_EQ(numberName->id, "") << "an empty id that is present stays empty";

    auto odd = AppEntry::fromDictionary({{"path", "/A/B.app"}, {"policy", "sometimes"}});
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->policy, "sometimes");

    EXPECT_FALSE(AppEntry::fromDictionary({{"path", ""}, {"id", "com.x"}}));
    EXPECT_FALSE(AppEntry::fromDictionary({{"id", "com.x"}}));
    EXPECT_FALSE(AppEntry::fromDictionary({{"path", 3}}));
    EXPECT_FALSE(AppEntry::fromDictionary(json::array({1, 2})));
    EXPECT_FALSE(AppEntry::fromDictionary(json("path")));
}

// Tests that the dictionary form has exactly four strings and reads back to the same record.
TEST(AppEntryTest, DictionaryFormRoundTrips) {
    AppEntry entry{"com.apple.mail", "邮件", "/System/Applications/Mail.app", "running"};
    auto dictionary = entry.dictionary();
    ASSERT_EQ(dictionary.size(), 4u);
    for (const auto& [key, value] : dictionary.items()) EXPECT_TRUE(value.is_string()) << key;
    EXPECT_EQ(AppEntry::fromDictionary(dictionary), entry);
}

// Tests that a running application without identifier or name still gives an entry.
TEST(AppEntryTest, RunningApplicationFallbacks) {
    FakeRunningApplication app;
    app.path = "/Applications/Tool.app";
    auto entry = AppEntry::fromRunningApplication(app);
    EXPECT_EQ(entry.id, "/Applications/Tool.app");
    EXPECT_EQ(entry.name, "应用");
    EXPECT_EQ(entry.policy, "auto");

    FakeRunningApplication bare;
    auto empty = AppEntry::fromRunningApplication(bare);
    EXPECT_EQ(empty.path, "");
    EXPECT_EQ(empty.id, "");

    FakeRunningApplication full;
    full.identifier = "com.apple.Safari";
    full.path = "/Applications/Safari.app";
    full.name = "Safari";
    EXPECT_EQ(AppEntry::fromRunningApplication(full),
              (AppEntry{"com.apple.Safari", "Safari", "/Applications/Safari.app", "auto"}));
}

}  // namespace
}  // namespace orvane
