// Opening applications on the simulated Mac, standing in for the workspace's
// open-application call and Launch Services behind it. Only application
// bundles open: a known app's bundle, a registered one, or a bundle on the disk.

#include "desktop/apps/ApplicationLauncher.h"

#include <algorithm>
#include <cmath>

#include "desktop/apps/ProcessTable.h"
#include "desktop/files/DiskBundles.h"
#include "desktop/runloop/MainRunLoop.h"
#include "desktop/scene/SceneValues.h"

namespace desktop {
namespace {

// The platform's answers when the scene names a failure without details, and
// when the path is no application at all.
constexpr const char* launchErrorDomain = "NSOSStatusErrorDomain";
constexpr long launchErrorCode = -10810;
constexpr const char* fileErrorDomain = "NSCocoaErrorDomain";
constexpr long noSuchFileCode = 260;

std::string lastComponent(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string appName(const std::string& path) {
    std::string name = lastComponent(path);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".app") == 0) name.resize(name.size() - 4);
    return name;
}

platform::Error noSuchFile(const std::string& path) {
    return {fileErrorDomain, noSuchFileCode,
            "The file \u201c" + lastComponent(path) + "\u201d couldn\u2019t be opened because there is no such file."};
}

}  // namespace

ApplicationLauncher& ApplicationLauncher::shared() {
    static auto* launcher = new ApplicationLauncher();
    return *launcher;
}

void ApplicationLauncher::reset(const nlohmann::json& scene) {
    latency_ = std::max(0.0, scene::number(scene, "openLatency").value_or(0));
    const auto& failures = scene::member(scene, "openFailures");
    failures_ = failures.is_object() ? failures : nlohmann::json::object();
    opened_ = nlohmann::json::array();
}

std::optional<platform::Error> ApplicationLauncher::configuredFailure(
    const std::string& path, const std::optional<std::string>& bundleId) const {
    const nlohmann::json* entry = nullptr;
    if (failures_.contains(path)) entry = &failures_[path];
    else if (bundleId && failures_.contains(*bundleId)) entry = &failures_[*bundleId];
    if (!entry) return std::nullopt;
    platform::Error error;
    error.domain = scene::string(*entry, "domain").value_or(launchErrorDomain);
    auto code = scene::number(*entry, "code");
    error.code = code && std::fabs(*code) < 1e15 ? static_cast<long>(*code) : launchErrorCode;
    error.description = scene::string(*entry, "description")
                            .value_or("The application \u201c" + appName(path) +
                                      "\u201d could not be launched because a miscellaneous error occurred.");
    return error;
}

std::optional<std::size_t> ApplicationLauncher::applicationAt(const std::string& path) {
    auto& table = ProcessTable::shared();
    if (auto index = table.findByPath(path)) return index;
    if (auto bundleId = table.launchServices().bundleIdentifier(path))
        return table.add({*bundleId, appName(path), path, platform::ActivationPolicy::regular});
    if (isApplicationBundleOnDisk(path))
        return table.add({diskBundleIdentifier(path), appName(path), path, platform::ActivationPolicy::regular});
    return std::nullopt;
}

void ApplicationLauncher::open(const std::string& path, bool activates, platform::OpenCompletion completion) {
    auto index = applicationAt(path);
    std::optional<std::string> bundleId;
    if (index) bundleId = ProcessTable::shared().identity(*index).bundleId;
    std::optional<platform::Error> error = configuredFailure(path, bundleId);
    if (!index && !error) error = noSuchFile(path);

    auto& loop = MainRunLoop::shared();
    loop.after(latency_, [this, path, activates, index, error, completion = std::move(completion)] {
        auto& table = ProcessTable::shared();
        platform::RunningApp app;
        nlohmann::json record = {{"path", path}, {"activates", activates}};
        if (!error) {
            if (!table.process(*index)) table.launch(*index);
            if (activates) table.activate(*index);
            app = table.process(*index);
            record["pid"] = app ? nlohmann::json(app->processIdentifier()) : nlohmann::json();
        } else {
            record["error"] = {{"domain", error->domain}, {"code", error->code}, {"description", error->description}};
        }
        opened_.push_back(std::move(record));
        if (completion) MainRunLoop::shared().complete([completion, app, error] { completion(app, error); });
    });
}

}  // namespace desktop
