#include "fuzz/DockFileGuard.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "desktop/propertylist/PropertyList.h"
#include "dock/DockPreferences.h"
#include "fuzz/Invariant.h"

namespace orvane::fuzz {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// NaN never equals itself: compare the printed forms.
std::string printed(const json& value) { return value.dump(-1, ' ', false, json::error_handler_t::replace); }

}  // namespace

DockFileGuard::Contents DockFileGuard::read() const {
    Contents contents;
    std::error_code error;
    auto status = fs::symlink_status(path_, error);
    if (error || status.type() == fs::file_type::not_found) return contents;
    if (status.type() == fs::file_type::directory) {
        contents.kind = Contents::Kind::folder;
        return contents;
    }
    contents.kind = Contents::Kind::file;
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    contents.bytes = bytes.str();
    if (auto parsed = desktop::parsePropertyList(contents.bytes); parsed && parsed->is_object()) {
        parsed->erase(dock::autohideKey);
        parsed->erase(dock::autohideDelayKey);
        contents.others = std::move(*parsed);
    }
    return contents;
}

void DockFileGuard::adopt() {
    baseline_ = read();
    passed_.reset();
}

void DockFileGuard::check() const {
    using Kind = Contents::Kind;
    // Most steps leave the file alone: the same bytes as the last check pass again.
    std::error_code error;
    if (passed_ && fs::is_regular_file(fs::symlink_status(path_, error))) {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        if (bytes.str() == *passed_) return;
    }
    passed_.reset();
    Contents now = read();
    checkAgainstBaseline(now);
    if (now.kind == Kind::file) passed_ = std::move(now.bytes);
}

void DockFileGuard::checkAgainstBaseline(const Contents& now) const {
    using Kind = Contents::Kind;
    switch (baseline_.kind) {
    case Kind::folder:
        require(now.kind == Kind::folder, "a folder in place of the Dock's preferences was replaced");
        return;
    case Kind::missing:
        // A write creates the file with the library's two keys only.
        if (now.kind == Kind::missing) return;
        require(now.kind == Kind::file && now.others && now.others->empty(),
                "the Dock's preferences were created with other keys than the two the library writes");
        return;
    case Kind::file:
        if (!baseline_.others) {
            require(now.kind == Kind::file && now.bytes == baseline_.bytes,
                    "Dock preferences that do not parse as a dictionary were changed");
            return;
        }
        require(now.kind == Kind::file && now.others.has_value(),
                "the Dock's preferences no longer parse as a dictionary");
        for (const auto& item : baseline_.others->items()) {
            const std::string& key = item.key();
            const json& value = item.value();
            auto found = now.others->find(key);
            require(found != now.others->end(),
                    [&] { return std::string("the Dock's preference \"" + key + "\" was removed"); });
            require(printed(*found) == printed(value), [&] {
                return std::string("the Dock's preference \"" + key + "\" changed from " +
                                   printed(value).substr(0, 200) + " to " + printed(*found).substr(0, 200));
            });
        }
        for (const auto& item : now.others->items())
            require(baseline_.others->contains(item.key()),
                    [&] { return "the Dock's preferences gained the key \"" + item.key() + "\""; });
        return;
    }
}

}  // namespace orvane::fuzz
