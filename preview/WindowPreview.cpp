// The card's construction, layout pass, states, selection, re-check,
// activation observer and report. Showing an image and its transition live
// in WindowPreviewTransition.cpp; the capture loop in WindowCaptureJob.cpp.

#include "preview/WindowPreview.h"

#include "platform/Json.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "preview/PreviewImageView.h"
#include "preview/PreviewTexts.h"
#include "preview/ScreenCaptureAccess.h"
#include "preview/WindowCaptureJob.h"

namespace orvane {
namespace {

namespace ui = platform::ui;
using platform::Json;

constexpr double titleFontSize = 13.0;
constexpr double statusFontSize = 10.0;
constexpr double placeholderFontSize = 12.0;
constexpr double captionFontSize = 10.0;
constexpr const char* previousSymbol = "chevron.left";
constexpr const char* nextSymbol = "chevron.right";

std::shared_ptr<ui::Button> makeButton(const std::string& title, std::shared_ptr<ui::Image> image = nullptr) {
    auto button = std::make_shared<ui::Button>();
    button->setTitle(title);
    button->setBezelStyle(ui::bezel::rounded);
    button->setControlSize(ui::controlSize::small);
    if (image) {
        button->setAccessibilityLabel(image->accessibilityDescription());
        button->setImage(std::move(image));
    }
    return button;
}

std::shared_ptr<ui::Label> makeLabel(const std::string& text, double fontSize, ui::Font::Weight weight, ui::Color color) {
    auto label = std::make_shared<ui::Label>(platform::Rect{}, text);
    label->setFont(ui::Font::system(fontSize, weight));
    label->setTextColor(color);
    return label;
}

}  // namespace

std::shared_ptr<WindowPreview> WindowPreview::create(std::string name, std::shared_ptr<ui::Image> icon,
                                                     std::optional<std::int32_t> pid, std::optional<std::string> bundleID,
                                                     bool active, Callbacks callbacks) {
    auto card = std::make_shared<WindowPreview>(pid, std::move(bundleID), std::move(callbacks));
    card->buildViews(name, std::move(icon), active);
    card->observeActivation();
    card->updateLayout();
    return card;
}

WindowPreview::WindowPreview(std::optional<std::int32_t> pid, std::optional<std::string> bundleID, Callbacks callbacks)
    : VisualEffectView(platform::Rect{{0, 0}, PreviewLayout(false, {}).size()}),
      pid_(pid),
      bundleID_(pid ? std::move(bundleID) : std::nullopt),
      callbacks_(std::move(callbacks)),
      previewState_(previewTexts::loading) {}

WindowPreview::~WindowPreview() {
    if (task_) task_->cancel();
    removeObserver();
}

std::weak_ptr<WindowPreview> WindowPreview::weakSelf() {
    return std::static_pointer_cast<WindowPreview>(shared_from_this());
}

void WindowPreview::buildViews(const std::string& name, std::shared_ptr<ui::Image> icon, bool active) {
    auto weak = weakSelf();
    auto action = [weak](void (WindowPreview::*method)()) {
        return [weak, method] {
            if (auto self = weak.lock()) (self.get()->*method)();
        };
    };

    setMaterial(ui::material::popover);
    setState(ui::effectState::active);
    setBlendingMode(ui::blending::behindWindow);
    setLayerCornerRadius(cornerRadius);
    setMasksToBounds(true);

    appIcon_ = std::make_shared<ui::ImageView>();
    appIcon_->setImageScaling(ui::imageScaling::proportionallyUpOrDown);
    appIcon_->setImage(std::move(icon));

    title_ = makeLabel(name, titleFontSize, ui::Font::Weight::semibold, ui::Color::label());
    const char* statusWord = !pid_ ? previewTexts::statusNotRunning
                             : active ? previewTexts::statusActive
                                      : previewTexts::statusRunning;
    status_ = makeLabel(statusWord, statusFontSize, ui::Font::Weight::regular, ui::Color::secondaryLabel());

    openButton_ = makeButton(pid_ ? previewTexts::switchTo : previewTexts::open);
    openButton_->setAction("openAction", action(&WindowPreview::openAction));

    viewport_ = std::make_shared<ui::View>();
    viewport_->setLayerCornerRadius(viewportCornerRadius);
    viewport_->setMasksToBounds(true);
    outgoingImage_ = std::make_shared<ui::ImageView>();
    outgoingImage_->setImageScaling(ui::imageScaling::proportionallyUpOrDown);
    imageView_ = std::make_shared<PreviewImageView>();
    imageView_->setImageScaling(ui::imageScaling::proportionallyUpOrDown);
    imageView_->setAccessibilityLabel(name + previewTexts::imageLabelSuffix);
    imageView_->click = action(&WindowPreview::openAction);
    placeholder_ = makeLabel(previewTexts::loadingMessage, placeholderFontSize, ui::Font::Weight::regular,
                             ui::Color::secondaryLabel());
    placeholder_->setAlignment(ui::TextAlignment::center);
    placeholder_->setLineBreakMode(ui::LineBreak::wordWrapping);
    // The current image lies above the outgoing one, the placeholder above both.
    viewport_->addSubview(outgoingImage_);
    viewport_->addSubview(imageView_);
    viewport_->addSubview(placeholder_);

    caption_ = makeLabel("", captionFontSize, ui::Font::Weight::regular, ui::Color::secondaryLabel());
    caption_->setLineBreakMode(ui::LineBreak::truncatingMiddle);

    permission_ = makeButton(previewTexts::permissionSettings);
    permission_->setAction("permissionAction", action(&WindowPreview::permissionAction));
    retry_ = makeButton(previewTexts::recheck);
    retry_->setAction("retryAction", action(&WindowPreview::retryAction));
    reopen_ = makeButton(previewTexts::reopen);
    reopen_->setAction("reopenAction", action(&WindowPreview::reopenAction));
    previous_ = makeButton("", ui::Image::systemSymbol(previousSymbol, previewTexts::previousWindow));
    previous_->setAction("previousAction", action(&WindowPreview::previousAction));
    next_ = makeButton("", ui::Image::systemSymbol(nextSymbol, previewTexts::nextWindow));
    next_->setAction("nextAction", action(&WindowPreview::nextAction));

    for (const std::shared_ptr<ui::View>& view : std::initializer_list<std::shared_ptr<ui::View>>{
             appIcon_, title_, status_, openButton_, viewport_, caption_, permission_, retry_, reopen_, previous_, next_})
        addSubview(view);
}

// A card that waits for the permission or for its application recovers when
// the user comes back from the system settings or starts the application.
void WindowPreview::observeActivation() {
    auto weak = weakSelf();
    observer_ = platform::workspace().notificationCenter().addObserver(
        platform::notification::didActivateApplication, [weak](const std::string&) {
            auto self = weak.lock();
            if (!self || self->stopped_ || self->imageView_->image()) return;
            if (ScreenCaptureAccess::granted()) self->start();
        });
}

void WindowPreview::removeObserver() {
    if (!observer_) return;
    platform::workspace().notificationCenter().removeObserver(*observer_);
    observer_.reset();
}

std::size_t WindowPreview::index() const {
    if (!selectedID_) return 0;
    for (std::size_t i = 0; i < windows_.size(); ++i)
        if (windows_[i].windowID == *selectedID_) return i;
    return 0;
}

PreviewLayout WindowPreview::cardLayout() const { return PreviewLayout(imageView_->image() != nullptr, displayedSize_); }

void WindowPreview::updateLayout() {
    const PreviewLayout layout = cardLayout();
    setFrameSize(layout.size());

    appIcon_->setFrame(layout.appIcon());
    title_->setFrame(layout.title());
    status_->setFrame(layout.status());
    openButton_->setFrame(layout.openButton());
    viewport_->setFrame(layout.viewport());
    imageView_->setFrame(layout.viewportBounds());
    outgoingImage_->setFrame(layout.viewportBounds());
    placeholder_->setFrame(layout.placeholder());
    // Set on every pass, so that it follows appearance changes.
    viewport_->setLayerBackgroundColor(ui::Color::controlBackground().withAlpha(viewportBackgroundAlpha));

    const bool image = layout.showsImage();
    const bool permissionRequired = previewState_ == previewTexts::permissionRequired;
    placeholder_->setHidden(image);
    permission_->setHidden(!permissionRequired);
    reopen_->setHidden(!permissionRequired);
    retry_->setHidden(image || previewState_ == previewTexts::notRunning);
    caption_->setHidden(!image);
    previous_->setHidden(!(image && windows_.size() >= 2));
    next_->setHidden(!(image && windows_.size() >= 2));

    permission_->setFrame(layout.permission());
    reopen_->setFrame(layout.reopen());
    retry_->setFrame(layout.retry());
    caption_->setFrame(layout.caption());
    previous_->setFrame(layout.previous());
    next_->setFrame(layout.next());

    updateTrackingAreas();
    if (callbacks_.resizeCard) callbacks_.resizeCard(layout.size());
}

void WindowPreview::updateTrackingAreas() {
    auto areas = trackingAreas();
    for (const auto& area : areas) removeTrackingArea(area);
    auto area = std::make_shared<ui::TrackingArea>();
    area->rect = bounds();
    area->options = ui::tracking::mouseEnteredAndExited | ui::tracking::activeAlways;
    area->owner = weak_from_this();
    addTrackingArea(area);
    VisualEffectView::updateTrackingAreas();
}

void WindowPreview::mouseEntered(const ui::Event&) {
    if (auto run = callbacks_.entered) run();
}

void WindowPreview::mouseExited(const ui::Event&) {
    if (auto run = callbacks_.left) run();
}

void WindowPreview::start() {
    if (task_) task_->cancel();
    task_.reset();
    if (stopped_) return;
    if (!pid_)
        unavailable(previewTexts::notRunning, previewTexts::notRunningMessage);
    else if (!ScreenCaptureAccess::granted())
        unavailable(previewTexts::permissionRequired, previewTexts::permissionAtStartMessage);
    else
        task_ = WindowCaptureJob::start(weakSelf(), *pid_, bundleID_);
}

void WindowPreview::stop() {
    stopped_ = true;
    if (task_) task_->cancel();
    task_.reset();
    removeObserver();
    ++animationEpoch_;
    imageView_->removeAllAnimations();
    outgoingImage_->removeAllAnimations();
    imageView_->setImage(nullptr);
    outgoingImage_->setImage(nullptr);
}

void WindowPreview::select(long long step) {
    const std::size_t count = windows_.size();
    const std::size_t current = index();
    if (step == 0) return;
    // Written without forming current + step, which could overflow.
    if (step > 0 && static_cast<unsigned long long>(step) >= count - current) return;
    if (step < 0 && static_cast<unsigned long long>(-(step + 1)) >= current) return;
    const std::size_t target = step > 0 ? current + static_cast<std::size_t>(step)
                                        : current - static_cast<std::size_t>(-(step + 1)) - 1;
    selectedID_ = windows_[target].windowID;
    transitionDirection_ = step >= 1 ? 1 : -1;
    isSwitching_ = true;
    stepAwaitsPicture_ = true;
    setStepButtonsEnabled(false, false);
    start();
}

void WindowPreview::openAction() {
    if (auto run = callbacks_.open) run();
}

void WindowPreview::permissionAction() {
    if (auto run = callbacks_.requestPermission) run();
}

void WindowPreview::reopenAction() {
    if (auto run = callbacks_.relaunch) run();
}

void WindowPreview::retryAction() {
    retry_->setEnabled(false);
    placeholder_->setText(previewTexts::recheckingMessage);
    auto weak = weakSelf();
    ScreenCaptureAccess::probe([weak](bool granted) {
        auto self = weak.lock();
        if (!self || self->stopped_) return;
        self->retry_->setEnabled(true);
        if (granted)
            self->start();
        else
            self->unavailable(previewTexts::permissionRequired, previewTexts::recheckFailedMessage);
    });
}

void WindowPreview::unavailable(const std::string& state, const std::string& message) {
    previewState_ = state;
    ++animationEpoch_;
    imageView_->removeAllAnimations();
    outgoingImage_->removeAllAnimations();
    imageView_->setImage(nullptr);
    outgoingImage_->setImage(nullptr);
    displayedID_.reset();
    pixels_ = {};
    placeholder_->setText(message);
    isSwitching_ = false;
    stepAwaitsPicture_ = false;
    setStepButtonsEnabled(false, false);
    updateLayout();
}

std::optional<platform::ShareableWindow> WindowPreview::listed(std::vector<platform::ShareableWindow> windows) {
    windows_ = std::move(windows);
    if (windows_.empty()) return std::nullopt;
    bool listedSelection = false;
    for (const auto& window : windows_)
        listedSelection = listedSelection || (selectedID_ && window.windowID == *selectedID_);
    if (!listedSelection) selectedID_ = windows_.front().windowID;
    return windows_[index()];
}

void WindowPreview::captured(std::shared_ptr<ui::Image> image, platform::Size pixels,
                             const platform::ShareableWindow& window) {
    pixels_ = pixels;
    ++imageFrames_;
    present(std::move(image), window);
    if (!isSwitching_) enableStepButtons();
}

void WindowPreview::enableStepButtons() {
    const std::size_t current = index();
    setStepButtonsEnabled(current > 0, current + 1 < windows_.size());
}

void WindowPreview::setStepButtonsEnabled(bool previous, bool next) {
    previous_->setEnabled(previous);
    next_->setEnabled(next);
}

Json WindowPreview::report() const {
    Json report = {
        {"status", previewState_},
        {"windows", windows_.size()},
        {"index", index()},
        {"frames", imageFrames_},
        {"transitions", transitionCount_},
        {"switching", isSwitching_},
        {"pixelWidth", pixels_.width},
        {"pixelHeight", pixels_.height},
        {"cardWidth", bounds().width()},
        {"cardHeight", bounds().height()},
    };
    if (displayedID_) report["displayedWindowID"] = *displayedID_;
    if (!windows_.empty()) {
        const auto& window = windows_[index()];
        report["windowID"] = window.windowID;
        report["windowWidth"] = window.frame.width();
        report["windowHeight"] = window.frame.height();
    }
    return report;
}

}  // namespace orvane
