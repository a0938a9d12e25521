// Stands in for launching the system's command-line tools. Nothing real ever
// runs: /usr/bin/killall acts on the simulated Mac's processes (a process that
// is killed is started again, as launchd does for the Dock), and any other
// executable does not exist on the simulated system.
#include "desktop/apps/Tools.h"

#include <mutex>
#include <optional>

#include <nlohmann/json.hpp>

#include "desktop/apps/Processes.h"
#include "desktop/files/Disk.h"
#include "desktop/files/DiskLog.h"
#include "desktop/files/FileIO.h"
#include "desktop/preferences/Preferences.h"
#include "desktop/propertylist/PropertyList.h"
#include "platform/Tools.h"

namespace desktop {

namespace {

using Json = nlohmann::json;

constexpr const char* dockProcess = "Dock";
constexpr const char* dockDomain = "com.apple.dock";
constexpr std::size_t maxPreferencesFileSize = 16 * 1024 * 1024;
// killall's exit status when no process matched or the arguments are wrong.
constexpr int killallNoMatch = 1;

std::mutex toolsMutex;
std::optional<platform::Error> killallLaunchError;

std::optional<platform::Error> errorFrom(const Json& value) {
    if (!value.is_object()) return std::nullopt;
    auto text = [&](const char* key, const char* fallback) {
        auto found = value.find(key);
        return found != value.end() && found->is_string() ? found->get<std::string>() : std::string(fallback);
    };
    auto code = value.find("code");
    return platform::Error{text("domain", "NSCocoaErrorDomain"),
                           code != value.end() && code->is_number_integer() ? code->get<long>() : 0,
                           text("description", "")};
}

// The Dock reads its preferences from disk when it starts.
void recordDockReload() {
    Json loaded = {{"autohide", nullptr}, {"autohide-delay", nullptr}};
    FileRead file = readFile(resolve(preferencesFile(dockDomain)), maxPreferencesFileSize);
    if (file.status == FileRead::Status::ok) {
        auto values = parsePropertyList(file.bytes);
        if (values && values->is_object()) {
            for (auto& [key, value] : loaded.items()) {
                if (values->contains(key)) value = (*values)[key];
            }
        }
    }
    logDockReload(loaded);
}

platform::ToolOutcome killall(const std::vector<std::string>& names) {
    if (names.empty()) return killallNoMatch;
    bool matched = false;
    for (const auto& name : names) {
        if (name.empty() || name.front() == '-' || !processRunning(name)) continue;
        if (!relaunchProcess(name)) continue;
        matched = true;
        if (name == dockProcess) recordDockReload();
    }
    return matched ? 0 : killallNoMatch;
}

class SimulatedTools final : public platform::Tools {
public:
    platform::ToolOutcome run(const std::string& executable, const std::vector<std::string>& arguments) override {
        platform::ToolOutcome outcome = launch(executable, arguments);
        if (auto* status = std::get_if<int>(&outcome)) {
            logToolRun(executable, arguments, {{"status", *status}});
        } else {
            const auto& error = std::get<platform::Error>(outcome);
            logToolRun(executable, arguments, {{"error", {{"domain", error.domain}, {"code", error.code}, {"description", error.description}}}});
        }
        return outcome;
    }

private:
    platform::ToolOutcome launch(const std::string& executable, const std::vector<std::string>& arguments) {
        if (executable == killallPath) {
            {
                std::lock_guard lock(toolsMutex);
                if (killallLaunchError) return *killallLaunchError;
            }
            return killall(arguments);
        }
        std::string name = executable.substr(executable.find_last_of('/') + 1);
        return platform::Error{"NSCocoaErrorDomain", 4, "文件“" + name + "”不存在。"};
    }
};

}  // namespace

void resetTools(const nlohmann::json& scene) {
    std::lock_guard lock(toolsMutex);
    killallLaunchError.reset();
    if (!scene.is_object()) return;
    auto tools = scene.find("tools");
    if (tools == scene.end() || !tools->is_object()) return;
    if (auto fails = tools->find("killallLaunchFails"); fails != tools->end()) killallLaunchError = errorFrom(*fails);
}

}  // namespace desktop

namespace platform {

Tools& tools() {
    static desktop::SimulatedTools simulated;
    return simulated;
}

}  // namespace platform
