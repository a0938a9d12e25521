// The controller's whole visible state for the host, read afresh on every
// call: nothing here is cached, so a snapshot taken mid-animation shows the
// intermediate state. Missing objects give neutral values.

#include <algorithm>

#include "controller/NativeController.h"
#include "platform/Accessibility.h"
#include "platform/Json.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Window.h"
#include "preview/ScreenCaptureAccess.h"
#include "preview/WindowPreview.h"
#include "settings/SettingsController.h"
#include "model/Brand.h"
#include "strip/StripActionButton.h"
#include "strip/StripView.h"

namespace orvane {

namespace {

namespace ui = platform::ui;
using platform::Json;

// Objects here are built member by member: an initializer list copies each
// value on its way in, which a snapshot of many entries pays for.
Json rectJson(double x, double y, double width, double height) {
    Json rect(Json::value_t::object);
    auto& members = rect.get_ref<Json::object_t&>();
    members.emplace("x", x);
    members.emplace("y", y);
    members.emplace("width", width);
    members.emplace("height", height);
    return rect;
}

Json entriesJson(const std::vector<AppEntry>& entries) {
    auto list = Json::array();
    for (const auto& entry : entries) list.push_back(entry.dictionary());
    return list;
}

Json runningJson(const std::vector<platform::RunningApp>& running) {
    auto list = Json::array();
    for (const auto& app : running)
        if (app && app->activationPolicy() == platform::ActivationPolicy::regular)
            list.push_back(AppEntry::fromRunningApplication(*app).dictionary());
    return list;
}

Json stripFrameJson(const StripView* strip) {
    if (!strip) return rectJson(0, 0, 0, 0);
    auto frame = strip->frame();
    auto window = strip->window();
    auto origin = window ? window->frame().origin : platform::Point{};
    return rectJson(origin.x, origin.y, frame.width(), frame.height());
}

Json cardFrameJson(const ui::Window* card) {
    if (!card) return rectJson(0, 0, 0, 0);
    auto frame = card->frame();
    auto screen = card->screen();
    double top = screen ? screen->frame.maxY() : 0;
    return rectJson(frame.minX(), top - frame.maxY(), frame.width(), frame.height());
}

double menuBarHeight(const StripView* strip) {
    double thickness = ui::systemStatusBar().thickness();
    auto window = strip ? strip->window() : nullptr;
    auto screen = window ? window->screen() : std::nullopt;
    if (!screen) return thickness;
    return std::max(thickness, screen->frame.maxY() - screen->visibleFrame.maxY());
}

Json controlsJson(const StripView* strip) {
    auto list = Json::array();
    if (!strip) return list;
    for (const auto& view : strip->subviews()) {
        if (!std::dynamic_pointer_cast<StripActionButton>(view)) continue;
        auto frame = view->frame();
        Json control(Json::value_t::object);
        auto& members = control.get_ref<Json::object_t&>();
        members.emplace("label", view->toolTip());
        members.emplace("x", frame.minX());
        members.emplace("width", frame.width());
        list.push_back(std::move(control));
    }
    return list;
}

}  // namespace

nlohmann::json NativeController::drainEvents() { return events_.drain(); }

void NativeController::emit(nlohmann::json record) { events_.emit(std::move(record)); }

void NativeController::emitError(const std::string& message) { events_.emitError(message); }

nlohmann::json NativeController::snapshot() {
    const StripView* strip = state_.strip.get();
    const ui::Window* card = card_->window().get();
    Json state = Json::object();
    // Keys in the order they are evaluated; the reply writer sorts them.
    state["trusted"] = platform::accessibility().isTrusted(false);
    state["visible"] = entriesJson(state_.entries);
    state["hidden"] = state_.hidden;
    state["running"] = runningJson(state_.running);
    state["detections"] = state_.detections;
    state["scanning"] = state_.scanning;
    state["width"] = strip ? strip->frame().width() : 0.0;
    state["offset"] = strip ? strip->offset() : 0;
    state["scrollAnimations"] = strip ? strip->scrollAnimationCount() : 0;
    state["frame"] = stripFrameJson(strip);
    state["card"] = card ? card_->id().value_or("") : "";
    state["cardWindowID"] = card ? card->windowNumber() : 0;
    state["cardFrame"] = cardFrameJson(card);
    state["centered"] = state_.centered;
    state["lastAction"] = state_.lastAction;
    state["menuBarHeight"] = menuBarHeight(strip);
    state["brand"] = Brand::name;
    state["screenCapture"] = ScreenCaptureAccess::granted();
    state["screenCaptureStatus"] = ScreenCaptureAccess::status();
    state["captureError"] = ScreenCaptureAccess::lastError();
    state["dockError"] = dockMaintenance_.dockError();
    auto preview = card_->preview();
    state["preview"] = preview ? preview->report() : Json::object();
    state["settingsVisible"] = settings_->isVisible();
    state["dockStatus"] = dockMaintenance_.dockStatus(state_.dockPersistent, state_.qaMode);
    state["controls"] = controlsJson(strip);
    return state;
}

}  // namespace orvane
