#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/View.h"
#include "strip/StripOwner.h"

namespace orvane {

// The row of application icons in the menu bar: draws icons, running dots,
// scroll chevrons and the product mark, and lays transparent buttons over them.
class StripView : public platform::ui::View {
public:
    static std::shared_ptr<StripView> create(std::weak_ptr<StripOwner> owner, platform::Rect frame);

    int offset() const;
    bool pointerInside() const;
    int hovered() const;
    const std::string& controlSignature() const;
    // The controller forces a rebuild with an empty signature before resizing.
    void setControlSignature(std::string signature);
    std::uint64_t scrollEpoch() const;
    int scrollAnimationCount() const;

    void resize();
    void rebuildControls();
    void scroll(long long step);
    // Ends a running scroll transition at once (the controller's stop).
    void stopScrollTransition();
};

}  // namespace orvane
