#pragma once

// The small fixed Mac every fuzz input starts from: a screen, the host, a
// Dock, a few applications with windows (running, hidden, not running, one
// with its own menu-bar item, one without a bundle path), bundles on a
// throwaway disk in memory, and the Dock's preferences. prepare() puts the
// disk and the desktop back to exactly this state, cheaply enough to run
// before every input.

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace orvane::fuzz {

// An application of the scene as the steps address it.
struct SceneApp {
    std::string bundleId;
    std::string name;
    std::string path;  // empty: the process has no bundle
    bool onDisk;       // a bundle with an Info.plist on the disk
};

class FuzzScene {
public:
    // Writes the disk template under a folder of its own (in /dev/shm when
    // the machine has it).
    FuzzScene();
    ~FuzzScene();
    FuzzScene(const FuzzScene&) = delete;
    FuzzScene& operator=(const FuzzScene&) = delete;

    // Rewrites the disk and resets the simulated Mac on the manual clock.
    void prepare() const;
    // Resets the simulated Mac to a bare desktop on the same disk, so that
    // what a session built is freed by the session itself (libFuzzer takes
    // an input whose allocations outlive it for a possible leak and runs it
    // again to look).
    void release() const;

    const nlohmann::json& scene() const { return scene_; }
    const std::string& root() const { return root_; }
    // The real path of an absolute path of the simulated Mac.
    std::string real(const std::string& path) const { return root_ + path; }
    // The Dock's preferences file, as the simulated Mac names it, and its template bytes.
    static std::string dockFile();
    const std::string& dockTemplate() const { return dockTemplate_; }

    // What steps draw their arguments from.
    const std::vector<SceneApp>& apps() const { return apps_; }
    const std::vector<std::string>& ids() const { return ids_; }
    const std::vector<std::string>& paths() const { return paths_; }
    const std::vector<std::string>& names() const { return names_; }
    const std::vector<std::string>& folders() const { return folders_; }
    const std::vector<std::string>& words() const { return words_; }
    const std::vector<int>& windowNumbers() const { return windowNumbers_; }
    // A place on this machine for files the desktop writes outside the disk.
    std::string scratchFile(const std::string& name) const { return scratch_ + "/" + name; }

private:
    void writeTemplate();

    std::string root_;
    std::string scratch_;
    nlohmann::json scene_;
    std::string dockTemplate_;
    // Files of the template: absolute path on the Mac and bytes.
    std::vector<std::pair<std::string, std::string>> files_;
    std::vector<std::string> emptyFolders_;
    std::vector<SceneApp> apps_;
    std::vector<std::string> ids_, paths_, names_, folders_, words_;
    std::vector<int> windowNumbers_;
};

}  // namespace orvane::fuzz
