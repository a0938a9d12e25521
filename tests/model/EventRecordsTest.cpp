// Tests that the records the library sends and the list of kinds the guide,
// its test and the fuzzer read are one vocabulary: every record is of a
// listed kind and carries exactly the keys listed for it, and every listed
// kind has its function.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "model/EventKinds.h"
#include "model/EventRecords.h"

namespace orvane {
namespace {

using nlohmann::json;

const json app = {{"id", "com.apple.Safari"}, {"name", "Safari"}, {"path", "/Applications/Safari.app"},
                  {"policy", "auto"}};

// One record of every function, each called once.
std::vector<json> everyRecord() {
    return {events::error("x"),
            events::screenResult(true),
            events::screenPermission(),
            events::relaunch(),
            events::settings(),
            events::quit(),
            events::pin(app),
            events::preference("centered", true),
            events::login(false),
            events::loadInstalled(),
            events::hideSettings(),
            events::importDock(),
            events::undoImport(),
            events::dismissMessage(),
            events::toggleDock(),
            events::recovery(),
            events::permission(),
            events::accessibilityRetry(),
            events::screenRetry(),
            events::launch(app),
            events::move(app, -1),
            events::policy(app, "always")};
}

const EventKindInfo* listed(const std::string& name) {
    for (const auto& kind : eventKinds())
        if (kind.name == name) return &kind;
    return nullptr;
}

// Tests that each record has a listed kind and exactly the further keys listed for it.
TEST(EventRecordsTest, EveryRecordHasTheKeysItsKindLists) {
    for (const auto& record : everyRecord()) {
        ASSERT_TRUE(record.is_object() && record.contains("kind") && record["kind"].is_string()) << record;
        const auto* kind = listed(record["kind"].get<std::string>());
        ASSERT_NE(kind, nullptr) << record << " is of a kind missing from model/EventKinds.cpp";
        std::set<std::string> keys{"kind"};
        for (const auto& key : kind->keys) keys.emplace(key.name);
        std::set<std::string> carried;
        for (const auto& [key, value] : record.items()) carried.insert(key);
        EXPECT_EQ(carried, keys) << record;
    }
}

// Tests that every listed kind, each listed once, is made by exactly one function.
TEST(EventRecordsTest, EveryListedKindHasOneFunction) {
    std::multiset<std::string> made;
    for (const auto& record : everyRecord()) made.insert(record["kind"].get<std::string>());
    std::set<std::string> names;
    for (const auto& kind : eventKinds()) {
        EXPECT_TRUE(names.emplace(kind.name).second) << "kind listed twice: " << kind.name;
        EXPECT_EQ(made.count(std::string(kind.name)), 1u) << kind.name;
    }
    EXPECT_EQ(made.size(), names.size());
}

// Tests that the list is indexed by the enumeration, so a kind's function
// finds its own row.
TEST(EventRecordsTest, ListFollowsTheEnumeration) {
    for (std::size_t i = 0; i < eventKinds().size(); ++i) EXPECT_EQ(eventKinds()[i].kind, EventKind(i)) << eventKinds()[i].name;
    EXPECT_EQ(kindName(EventKind::importDock), "import");
    EXPECT_EQ(events::move(app, 1)["value"], 1);
    EXPECT_EQ(events::policy(app, "running")["value"], "running");
    EXPECT_EQ(events::pin(app)["app"], app);
    EXPECT_EQ(events::preference("maxIcons", 7LL)["value"], 7);
    EXPECT_EQ(events::preference("maxIcons", 7LL)["key"], "maxIcons");
    EXPECT_EQ(events::screenResult(false)["message"], "权限尚未对当前进程生效；已授权请重新打开岚舟。");
}

}  // namespace
}  // namespace orvane
