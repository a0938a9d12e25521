#pragma once

// A stand-in for the controller that owns a strip: it holds the entries and
// settings the strip reads, answers running and icon lookups from plain
// tables, and records every request the strip makes of it.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Bitmap.h"
#include "platform/ui/Image.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Window.h"
#include "strip/StripOwner.h"

namespace orvane::testing {

class FakeRunningApplication : public platform::RunningApplication {
public:
    FakeRunningApplication(std::string bundleId, bool active) : bundleId_(std::move(bundleId)), active_(active) {}
    int processIdentifier() const override { return 500; }
    std::optional<std::string> bundleIdentifier() const override { return bundleId_; }
    std::optional<std::string> bundlePath() const override { return std::nullopt; }
    std::optional<std::string> localizedName() const override { return bundleId_; }
    platform::ActivationPolicy activationPolicy() const override { return platform::ActivationPolicy::regular; }
    bool isTerminated() const override { return false; }
    bool isActive() const override { return active_; }

private:
    std::string bundleId_;
    bool active_;
};

class FakeStatusItem : public platform::ui::StatusItem {
public:
    double length() const override { return length_; }
    void setLength(double length) override { length_ = length; }
    std::shared_ptr<platform::ui::View> view() const override { return view_; }
    void setView(std::shared_ptr<platform::ui::View> view) override { view_ = std::move(view); }
    std::shared_ptr<platform::ui::Button> button() const override { return nullptr; }
    const std::string& autosaveName() const override { return autosaveName_; }
    void setAutosaveName(std::string name) override { autosaveName_ = std::move(name); }
    std::shared_ptr<platform::ui::Window> window() const override { return nullptr; }

private:
    double length_ = 40;
    std::shared_ptr<platform::ui::View> view_;
    std::string autosaveName_;
};

// A solid square icon of 32 x 32 pixels (16 pt at scale 2) in one colour.
inline std::shared_ptr<platform::ui::Image> solidIcon(std::uint32_t argb) {
    auto bitmap = std::make_shared<platform::ui::Bitmap>(32, 32, platform::Size{16, 16});
    std::fill(bitmap->pixels().begin(), bitmap->pixels().end(), argb);
    return platform::ui::Image::withBitmap(bitmap, {16, 16});
}

class FakeStripOwner : public StripOwner {
public:
    std::vector<AppEntry> entryList;
    int maxIconCount = 5;
    bool isCentered = false;
    std::shared_ptr<platform::ui::Window> panel;
    std::shared_ptr<FakeStatusItem> statusItem = std::make_shared<FakeStatusItem>();
    bool pending = false;
    // Running apps by entry id: true when active.
    std::map<std::string, bool> runningIds;
    std::map<std::string, std::shared_ptr<platform::ui::Image>> icons;

    int closeCardCalls = 0;
    std::vector<std::pair<std::string, platform::Rect>> hovers;
    int leaveHoverCalls = 0;
    std::vector<std::string> launched;
    int allCalls = 0;
    std::vector<std::string> contextMenus;
    std::vector<bool> refreshes;

    void setEntries(const std::vector<std::string>& ids) {
        entryList.clear();
        for (const auto& id : ids) entryList.push_back({id, "App " + id, "/Applications/" + id + ".app", "auto"});
    }

    const std::vector<AppEntry>& entries() const override { return entryList; }
    int maxIcons() const override { return maxIconCount; }
    bool centered() const override { return isCentered; }
    std::shared_ptr<platform::ui::Window> centerPanel() const override { return panel; }
    std::shared_ptr<platform::ui::StatusItem> item() const override { return statusItem; }
    bool pendingRefresh() const override { return pending; }

    void closeCard() override { ++closeCardCalls; }
    void beginHover(const AppEntry& entry, platform::Rect rect) override { hovers.emplace_back(entry.id, rect); }
    void leaveHover() override { ++leaveHoverCalls; }
    void launch(const AppEntry& entry) override { launched.push_back(entry.id); }
    void all() override { ++allCalls; }
    void contextMenu(const AppEntry& entry, const platform::ui::Event&) override { contextMenus.push_back(entry.id); }
    platform::RunningApp appRunning(const AppEntry& entry) override {
        auto it = runningIds.find(entry.id);
        if (it == runningIds.end()) return nullptr;
        return std::make_shared<FakeRunningApplication>(entry.id, it->second);
    }
    std::shared_ptr<platform::ui::Image> icon(const AppEntry& entry) override {
        auto it = icons.find(entry.id);
        return it == icons.end() ? nullptr : it->second;
    }
    void refresh(bool force) override {
        refreshes.push_back(force);
        pending = false;
    }
};

}  // namespace orvane::testing
