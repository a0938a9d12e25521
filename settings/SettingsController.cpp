#include "settings/SettingsController.h"

#include "model/EventRecords.h"
#include "platform/Application.h"
#include "platform/ui/Declarative.h"
#include "platform/ui/Image.h"
#include "platform/ui/Window.h"
#include "settings/AddAppsPage.h"
#include "settings/SettingsModel.h"
#include "settings/SettingsRoot.h"
#include "settings/SettingsTexts.h"
#include "model/Brand.h"

namespace orvane {

namespace ui = platform::ui;
namespace tab = settingsTexts::tab;

std::shared_ptr<SettingsController> SettingsController::create() {
    auto controller = std::make_shared<SettingsController>();
    std::weak_ptr<SettingsController> weak = controller;
    controller->model_->changed = [weak](SettingsModel::Change change) {
        if (auto self = weak.lock()) self->modelChanged(change);
    };
    return controller;
}

SettingsController::SettingsController() : model_(std::make_shared<SettingsModel>()) {}

SettingsController::~SettingsController() {
    model_->changed = nullptr;
    if (window_) window_->shouldClose = nullptr;
}

void SettingsController::show() {
    if (!window_) makeWindow();
    window_->makeKeyAndOrderFront();
    platform::application().activateIgnoringOtherApps(true);
}

void SettingsController::hide() {
    if (window_) window_->orderOut();
}

bool SettingsController::isVisible() const { return window_ && window_->isVisible(); }

void SettingsController::makeWindow() {
    window_ = ui::Window::create({{0, 0}, contentSize}, windowStyleMask, ui::backing::buffered, false);
    window_->setTitle(Brand::name);
    window_->setTitlebarAppearsTransparent(true);
    window_->setToolbarStyle(unifiedToolbarStyle);
    window_->setReleasedWhenClosed(false);
    window_->setMinSize(minimumSize);
    productIcon_ = Brand::icon();
    hosting_ = ui::HostingView::create({{0, 0}, contentSize});
    window_->setContentView(hosting_);
    // The close button hides the window; the window, its frame and the model stay.
    std::weak_ptr<SettingsController> weak = weak_from_this();
    window_->shouldClose = [weak] {
        if (auto self = weak.lock()) self->hide();
        return false;
    };
    // Centred first, so that a frame saved by an earlier run wins.
    window_->center();
    window_->setFrameAutosaveName(frameAutosaveName);
    rebuild();
}

void SettingsController::modelChanged(SettingsModel::Change change) {
    if (!hosting_) return;
    if (change == SettingsModel::Change::query && builtTab_ == tab::add && model_->tab() == tab::add && replaceSearchParts()) {
        ++rebuildCount_;
        return;
    }
    const bool switchedToAdd = model_->tab() == tab::add && builtTab_ != tab::add;
    rebuild();
    if (switchedToAdd) model_->emit(events::loadInstalled());
}

// Only the search field and the results follow the search text; the rest of
// the window stays as it was built, and is not laid out again.
bool SettingsController::replaceSearchParts() {
    return hosting_->replace(addAppsPart::searchField, addAppsSearchField(model_)) &&
           hosting_->replace(addAppsPart::results, addAppsResults(model_));
}

void SettingsController::rebuild() {
    builtTab_ = model_->tab();
    hosting_->setRoot(SettingsRoot(model_, productIcon_));
    ++rebuildCount_;
}

}  // namespace orvane
