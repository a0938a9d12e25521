#include "catalogue/InstalledApps.h"

#include <set>
#include <vector>

#include "model/AppRecord.h"
#include "catalogue/FinderNameOrder.h"
#include "platform/Files.h"
#include "platform/Json.h"
#include "platform/JsonMember.h"
#include "platform/Path.h"

namespace catalogue {

namespace {

using platform::Json;

// In this order; the first copy of an identifier wins.
std::vector<std::string> applicationFolders(const std::string& home) {
    if (!platform::isPath(home)) return {"/Applications", "/System/Applications", "/System/Library/CoreServices/Applications"};
    return {"/Applications", "/System/Applications", home + "/Applications", "/System/Library/CoreServices/Applications"};
}

std::string withoutExtension(const std::string& name) {
    auto dot = name.find_last_of('.');
    if (dot == std::string::npos || dot == 0) return name;
    return name.substr(0, dot);
}

}  // namespace

Json installedApps() {
    auto& files = platform::files();
    std::vector<Json> records;
    std::set<std::string> seen;
    for (const auto& folder : applicationFolders(files.homeDirectory())) {
        files.walk(folder, [&](const std::string& path) {
            if (lowercasePathExtension(path) != "app") return;
            std::string id = files.bundleIdentifier(path).value_or(path);
            if (!seen.insert(id).second) return;
            records.push_back(appRecord(id, withoutExtension(files.displayName(path)), path, policyAuto));
        });
    }
    if (!seen.count(finderBundleIdentifier)) {
        if (auto finder = finderRecord()) records.push_back(std::move(*finder));
    }

    std::vector<std::string> names;
    names.reserve(records.size());
    for (const auto& record : records) {
        names.push_back(platform::stringMember(record, "name").value_or(std::string()));
    }
    Json sorted = Json::array();
    for (std::size_t index : FinderNameOrder().sortedIndices(names)) sorted.push_back(std::move(records[index]));
    return sorted;
}

}  // namespace catalogue
