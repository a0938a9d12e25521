#include "tests/desktop/TemporaryDisk.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "desktop/preferences/Preferences.h"
#include "desktop/propertylist/PropertyList.h"

namespace orvane::test {

namespace fs = std::filesystem;

TemporaryDisk::TemporaryDisk() {
    std::string pattern = (fs::temp_directory_path() / "orvane-test-disk-XXXXXX").string();
    if (mkdtemp(pattern.data())) root_ = pattern;
    EXPECT_FALSE(root_.empty()) << "a temporary folder for the simulated disk";
}

TemporaryDisk::~TemporaryDisk() {
    std::error_code error;
    if (!root_.empty()) fs::remove_all(root_, error);
}

nlohmann::json TemporaryDisk::scene(const nlohmann::json& extra) const {
    nlohmann::json scene = extra;
    scene["disk"] = root_;
    return scene;
}

void TemporaryDisk::write(const std::string& path, const std::string& bytes) const {
    fs::create_directories(fs::path(real(path)).parent_path());
    std::ofstream out(real(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string readRealFile(const std::string& realPath) {
    std::ifstream in(realPath, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string TemporaryDisk::read(const std::string& path) const { return readRealFile(real(path)); }

bool TemporaryDisk::exists(const std::string& path) const { return fs::exists(real(path)); }

void TemporaryDisk::makeFolder(const std::string& path) const { fs::create_directories(real(path)); }

void TemporaryDisk::writeBundle(const std::string& path, const std::string& bundleIdentifier, bool xml) const {
    nlohmann::json info = {{"CFBundlePackageType", "APPL"}, {"CFBundleVersion", "1"}};
    if (!bundleIdentifier.empty()) info["CFBundleIdentifier"] = bundleIdentifier;
    auto bytes = xml ? desktop::xmlPropertyList(info) : desktop::binaryPropertyList(info);
    ASSERT_TRUE(bytes.has_value()) << "Info.plist for " << path;
    write(path + "/Contents/Info.plist", *bytes);
}

void TemporaryDisk::writeDockPreferences(const nlohmann::json& values) const {
    auto bytes = desktop::binaryPropertyList(values);
    ASSERT_TRUE(bytes.has_value()) << "Dock preferences as a property list";
    write(desktop::preferencesFile("com.apple.dock"), *bytes);
}

nlohmann::json TemporaryDisk::readDockPreferences() const {
    auto values = desktop::parsePropertyList(read(desktop::preferencesFile("com.apple.dock")));
    return values ? *values : nlohmann::json();
}

nlohmann::json runningDock() {
    return {{"bundleId", "com.apple.dock"}, {"name", "Dock"}, {"path", "/System/Library/CoreServices/Dock.app"},
            {"activationPolicy", "prohibited"}};
}

}  // namespace orvane::test
