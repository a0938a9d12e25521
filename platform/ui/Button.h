#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/View.h"

namespace platform::ui {

class Image;

namespace bezel { inline constexpr int rounded = 1; inline constexpr int regularSquare = 2; }
namespace controlSize { inline constexpr int regular = 0; inline constexpr int small = 1; inline constexpr int mini = 2; }
namespace buttonType { inline constexpr int momentaryLight = 0; inline constexpr int momentaryChange = 5; }

class Button : public View {
public:
    explicit Button(Rect frame = {});

    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isBordered() const { return bordered_; }
    void setBordered(bool bordered);
    int bezelStyle() const { return bezelStyle_; }
    void setBezelStyle(int style) { bezelStyle_ = style; }
    int buttonType() const { return buttonType_; }
    void setButtonType(int type) { buttonType_ = type; }
    // The title's size follows it: 13 pt regular, 11 pt small, 9 pt mini.
    int controlSize() const { return controlSize_; }
    void setControlSize(int size);
    const std::shared_ptr<Image>& image() const { return image_; }
    void setImage(std::shared_ptr<Image> image);

    // Target and action: what a click runs. actionName is the selector's
    // name, kept so that the state can be inspected.
    void setAction(std::string actionName, std::function<void()> action);
    const std::string& actionName() const { return actionName_; }
    // Runs the action if the button is enabled and has one.
    void performClick();

    void draw(Canvas& canvas) override;
    void mouseDown(const Event& event) override;

private:
    std::string title_;
    bool enabled_ = true;
    bool bordered_ = true;
    int bezelStyle_ = bezel::rounded;
    int buttonType_ = buttonType::momentaryLight;
    int controlSize_ = controlSize::regular;
    std::shared_ptr<Image> image_;
    std::string actionName_;
    std::function<void()> action_;
};

}  // namespace platform::ui
