// The controller's whole visible state for the host, read afresh on every
// call: nothing here is cached, so a snapshot taken mid-animation shows the
// intermediate state. Missing objects give neutral values.

#include <algorithm>

#include "controller/NativeController.h"
#include "model/JsonTreeOutput.h"
#include "platform/Accessibility.h"
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

void writeRect(JsonOutput& out, double x, double y, double width, double height) {
    out.beginObject();
    out.key("height").number(height);
    out.key("width").number(width);
    out.key("x").number(x);
    out.key("y").number(y);
    out.endObject();
}

void writeEntries(JsonOutput& out, const std::vector<AppEntry>& entries) {
    out.beginArray();
    for (const auto& entry : entries) entry.write(out);
    out.endArray();
}

void writeRunning(JsonOutput& out, const std::vector<platform::RunningApp>& running) {
    out.beginArray();
    for (const auto& app : running)
        if (app && app->activationPolicy() == platform::ActivationPolicy::regular)
            AppEntry::fromRunningApplication(*app).write(out);
    out.endArray();
}

void writeStrings(JsonOutput& out, const std::vector<std::string>& strings) {
    out.beginArray();
    for (const auto& string : strings) out.string(string);
    out.endArray();
}

void writeDetections(JsonOutput& out, const Detections& detections) {
    // A std::map: its keys come in ascending byte order, as an output takes them.
    out.beginObject();
    for (const auto& [key, value] : detections) out.key(key).string(value);
    out.endObject();
}

void writeStripFrame(JsonOutput& out, const StripView* strip) {
    if (!strip) return writeRect(out, 0, 0, 0, 0);
    auto frame = strip->frame();
    auto window = strip->window();
    auto origin = window ? window->frame().origin : platform::Point{};
    writeRect(out, origin.x, origin.y, frame.width(), frame.height());
}

void writeCardFrame(JsonOutput& out, const ui::Window* card) {
    if (!card) return writeRect(out, 0, 0, 0, 0);
    auto frame = card->frame();
    auto screen = card->screen();
    double top = screen ? screen->frame.maxY() : 0;
    writeRect(out, frame.minX(), top - frame.maxY(), frame.width(), frame.height());
}

double menuBarHeight(const StripView* strip) {
    double thickness = ui::systemStatusBar().thickness();
    auto window = strip ? strip->window() : nullptr;
    auto screen = window ? window->screen() : std::nullopt;
    if (!screen) return thickness;
    return std::max(thickness, screen->frame.maxY() - screen->visibleFrame.maxY());
}

void writeControls(JsonOutput& out, const StripView* strip) {
    out.beginArray();
    if (strip) {
        for (const auto& view : strip->subviews()) {
            if (!std::dynamic_pointer_cast<StripActionButton>(view)) continue;
            auto frame = view->frame();
            out.beginObject();
            out.key("label").string(view->toolTip());
            out.key("width").number(frame.width());
            out.key("x").number(frame.minX());
            out.endObject();
        }
    }
    out.endArray();
}

}  // namespace

nlohmann::json NativeController::drainEvents() { return events_.drain(); }

void NativeController::emit(nlohmann::json record) { events_.emit(std::move(record)); }

void NativeController::emitError(const std::string& message) { events_.emitError(message); }

void NativeController::writeSnapshot(JsonOutput& out) {
    const StripView* strip = state_.strip.get();
    const ui::Window* card = card_->window().get();
    // Keys in ascending byte order, the order the reply lists them in.
    out.beginObject();
    out.key("brand").string(Brand::name);
    out.key("captureError").string(ScreenCaptureAccess::lastError());
    out.key("card").string(card ? card_->id().value_or("") : "");
    writeCardFrame(out.key("cardFrame"), card);
    out.key("cardWindowID").integer(card ? card->windowNumber() : 0);
    out.key("centered").boolean(state_.centered);
    writeControls(out.key("controls"), strip);
    writeDetections(out.key("detections"), state_.detections);
    out.key("dockError").string(dockMaintenance_.dockError());
    out.key("dockStatus").string(dockMaintenance_.dockStatus(state_.dockPersistent, state_.qaMode));
    writeStripFrame(out.key("frame"), strip);
    writeStrings(out.key("hidden"), state_.hidden);
    out.key("lastAction").string(state_.lastAction);
    out.key("menuBarHeight").number(menuBarHeight(strip));
    out.key("offset").integer(strip ? strip->offset() : 0);
    if (auto preview = card_->preview()) {
        out.key("preview").value(preview->report());
    } else {
        out.key("preview").beginObject();
        out.endObject();
    }
    writeRunning(out.key("running"), state_.running);
    out.key("scanning").boolean(state_.scanning);
    out.key("screenCapture").boolean(ScreenCaptureAccess::granted());
    out.key("screenCaptureStatus").string(ScreenCaptureAccess::status());
    out.key("scrollAnimations").integer(strip ? strip->scrollAnimationCount() : 0);
    out.key("settingsVisible").boolean(settings_->isVisible());
    out.key("trusted").boolean(platform::accessibility().isTrusted(false));
    writeEntries(out.key("visible"), state_.entries);
    out.key("width").number(strip ? strip->frame().width() : 0.0);
    out.endObject();
}

nlohmann::json NativeController::snapshot() {
    JsonTreeOutput tree;
    writeSnapshot(tree);
    return std::move(tree).take();
}

}  // namespace orvane
