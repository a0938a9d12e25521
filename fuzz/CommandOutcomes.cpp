// What commands must do, beyond the shape of their replies: settingsShow
// shows the settings window, and capture writes the picture of each surface
// that exists into a folder that exists.

#include <filesystem>
#include <fstream>

#include "controller/ControllerSlot.h"
#include "controller/NativeController.h"
#include "fuzz/Invariant.h"
#include "fuzz/Session.h"
#include "platform/ui/Window.h"
#include "preview/SurfaceCapture.h"

namespace orvane::fuzz {

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr const char* captureFiles[] = {captureFile::strip, captureFile::card, captureFile::settings};

bool isPng(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    char magic[8] = {};
    in.read(magic, sizeof magic);
    return in && std::string(magic, sizeof magic) == "\x89PNG\r\n\x1a\n";
}

}  // namespace

// The folder a capture writes into on this machine, when the simulated Mac
// has it as a folder; its pictures are removed so that the step shows what
// this capture wrote.
std::optional<std::string> Session::prepareCapture(const json& args) {
    if (!controllerExists() || !args.is_object() || !args.contains("directory") || !args["directory"].is_string())
        return std::nullopt;
    const std::string directory = args["directory"].get<std::string>();
    if (directory.empty() || directory.front() != '/' || directory.find("..") != std::string::npos) return std::nullopt;
    const std::string real = scene_.real(directory);
    std::error_code error;
    if (!fs::is_directory(real, error)) return std::nullopt;
    for (const char* file : captureFiles) fs::remove(fs::path(real) / file, error);
    return real;
}

void Session::commandOutcome(const std::string& name, const std::optional<std::string>& captureFolder) {
    auto controller = controllerSlot();
    if (!controller) return;
    if (name == "settingsShow") {
        auto window = controller->settingsWindow();
        require(window && window->isVisible(), "settingsShow did not show the settings window");
    } else if (name == "capture" && captureFolder) {
        const fs::path folder(*captureFolder);
        auto wrote = [&](const char* file, bool exists) {
            require(!exists || isPng(folder / file),
                    [&] { return std::string("capture did not write ") + file + " for a surface that exists"; });
        };
        wrote(captureFile::strip, snapshot_.value("width", 0.0) > 0);
        wrote(captureFile::card, snapshot_.value("cardWindowID", 0) != 0);
        wrote(captureFile::settings, controller->settingsWindow() != nullptr);
    }
}

}  // namespace orvane::fuzz
