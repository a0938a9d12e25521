#include "fuzz/DockWriteCheck.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "desktop/propertylist/PropertyList.h"
#include "dock/DockPreferences.h"
#include "dock/DockTexts.h"
#include "fuzz/Invariant.h"
#include "platform/Workspace.h"

namespace orvane::fuzz {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr const char* dockBundleId = "com.apple.dock";
constexpr const char* keys[] = {dock::autohideKey, dock::autohideDelayKey};

std::string printed(const json& value) { return value.dump(-1, ' ', false, json::error_handler_t::replace); }

// The reply writes an integral real without a fraction, so a reply's number
// is compared by value.
bool sameInReply(const json& replied, const json& wanted) {
    if (replied.is_number() && wanted.is_number()) return replied.get<double>() == wanted.get<double>();
    return printed(replied) == printed(wanted);
}

bool readFile(const std::string& path, std::string& bytes) {
    std::error_code error;
    if (!fs::is_regular_file(fs::symlink_status(path, error))) return false;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    bytes = text.str();
    return true;
}

// A value every property-list store holds as it is given.
bool plainValue(const json& value) {
    if (value.is_null() || value.is_boolean() || value.is_number_integer()) return !value.is_number_unsigned() ||
                                                                                  value.get<std::uint64_t>() <=
                                                                                      std::uint64_t(std::numeric_limits<std::int64_t>::max());
    if (value.is_number_float()) return std::isfinite(value.get<double>());
    if (value.is_string()) {
        const auto& text = value.get_ref<const std::string&>();
        return text.size() < 256 && text.find('\0') == std::string::npos;
    }
    return false;
}

bool dockRuns() {
    auto apps = platform::workspace().runningApplications();
    return std::any_of(apps.begin(), apps.end(), [](const platform::RunningApp& app) {
        return app && !app->isTerminated() && app->bundleIdentifier() == std::optional<std::string>(dockBundleId);
    });
}

}  // namespace

DockWriteCheck::DockWriteCheck(std::string realPath, json args, bool qaMode)
    : path_(std::move(realPath)), args_(std::move(args)), qaMode_(qaMode) {
    existed_ = readFile(path_, before_);
}

bool DockWriteCheck::mustSucceed() const {
    if (qaMode_ || !args_.is_object()) return false;
    for (const char* key : keys)
        if (!args_.contains(key) || !plainValue(args_[key])) return false;
    if (existed_) {
        // The whole file is written again: it must read as a dictionary that writes back as it reads.
        auto parsed = desktop::parsePropertyList(before_);
        if (!parsed || !parsed->is_object()) return false;
        auto again = desktop::binaryPropertyList(*parsed);
        if (!again) return false;
        auto reread = desktop::parsePropertyList(*again);
        if (!reread || printed(*reread) != printed(*parsed)) return false;
        // Nor may it hold a value the system's store would change by writing
        // it again (text that is not UTF-8 reads repaired): the store refuses
        // such a file rather than alter keys nobody asked to change.
        if (!desktop::mergeIntoPropertyList(before_, {})) return false;
    } else {
        std::error_code error;
        if (fs::exists(fs::symlink_status(path_, error))) return false;
    }
    return dockRuns();
}

void DockWriteCheck::check(const json& reply) const {
    const bool ok = reply["ok"] == true;
    const std::string error = ok ? std::string() : reply.value("error", std::string());
    const std::string asked = printed(args_).substr(0, 300);
    if (!ok && mustSucceed())
        throw InvariantBroken("a dockWrite the store can hold failed with \"" + error + "\": " + asked);
    if (!ok && error != dock::text::restartFailed) {
        std::string now;
        const bool exists = readFile(path_, now);
        require(exists == existed_ && now == before_,
                [&] { return "a failed dockWrite (\"" + error + "\") changed the Dock's preferences: " + asked; });
        return;
    }
    // Saved: the file holds exactly the values asked for (null: no key).
    std::string now;
    require(readFile(path_, now), [&] { return "a saved dockWrite left no Dock preferences file: " + asked; });
    auto parsed = desktop::parsePropertyList(now);
    require(parsed && parsed->is_object(),
            [&] { return "a saved dockWrite left a file that is no dictionary: " + asked; });
    for (const char* key : keys) {
        const json& wanted = args_[key];
        auto found = parsed->find(key);
        if (wanted.is_null()) {
            require(found == parsed->end(), [&] {
                return std::string("a dockWrite of null left \"") + key + "\" in the file: " + asked;
            });
        } else {
            require(found != parsed->end() && printed(*found) == printed(wanted), [&] {
                return std::string("after a dockWrite the file's \"") + key + "\" reads " +
                       (found == parsed->end() ? std::string("nothing") : printed(*found).substr(0, 200)) +
                       ", not what was asked: " + asked;
            });
        }
        if (ok)
            require(sameInReply(reply["data"][key], wanted), [&] {
                return std::string("dockWrite replied ") + printed(reply["data"]).substr(0, 200) +
                       " for what it was asked: " + asked;
            });
    }
}

}  // namespace orvane::fuzz
