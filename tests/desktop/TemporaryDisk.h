#pragma once

// A throwaway simulated disk for tests: a fresh folder of this machine that
// the simulated Mac uses as "/", removed again when the test ends.

#include <string>

#include <nlohmann/json.hpp>

namespace orvane::test {

class TemporaryDisk {
public:
    TemporaryDisk();
    ~TemporaryDisk();
    TemporaryDisk(const TemporaryDisk&) = delete;
    TemporaryDisk& operator=(const TemporaryDisk&) = delete;

    const std::string& root() const { return root_; }
    // The real path of an absolute path of the simulated Mac.
    std::string real(const std::string& path) const { return root_ + path; }
    // The scene that puts the simulated Mac on this disk, with extra keys merged in.
    nlohmann::json scene(const nlohmann::json& extra = nlohmann::json::object()) const;

    void write(const std::string& path, const std::string& bytes) const;
    std::string read(const std::string& path) const;
    bool exists(const std::string& path) const;
    void makeFolder(const std::string& path) const;
    // An application bundle with Contents/Info.plist holding the identifier
    // (none when empty), written as a binary or an XML list.
    void writeBundle(const std::string& path, const std::string& bundleIdentifier, bool xml = false) const;
    // The Dock's preferences file, as a binary list.
    void writeDockPreferences(const nlohmann::json& values) const;
    nlohmann::json readDockPreferences() const;

private:
    std::string root_;
};

// The bytes of a file of this machine ("" when it cannot be read).
std::string readRealFile(const std::string& realPath);

// A scene app entry for the running Dock.
nlohmann::json runningDock();

}  // namespace orvane::test
