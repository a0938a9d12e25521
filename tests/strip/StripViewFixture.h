#pragma once

// The strip view on the manual clock with a stand-in owner, shared by the
// tests of its buttons and of its scrolling.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "platform/ui/Event.h"
#include "strip/StripActionButton.h"
#include "strip/StripView.h"
#include "tests/strip/FakeStripOwner.h"

namespace orvane::testing {

using orvane::StripActionButton;
using orvane::StripView;
using platform::ui::Event;

class StripViewTest : public ::testing::Test {
protected:
    void SetUp() override { start(nlohmann::json::object()); }

    void start(const nlohmann::json& scene) {
        desktop::reset(scene, desktop::Clock::manual);
        owner = std::make_shared<FakeStripOwner>();
        strip = StripView::create(owner, {0, 0, 40, 24});
    }

    void show(const std::vector<std::string>& ids) {
        owner->setEntries(ids);
        strip->resize();
    }

    std::vector<std::shared_ptr<StripActionButton>> buttons() const {
        std::vector<std::shared_ptr<StripActionButton>> result;
        for (const auto& view : strip->subviews())
            if (auto button = std::dynamic_pointer_cast<StripActionButton>(view)) result.push_back(button);
        return result;
    }

    std::shared_ptr<StripActionButton> button(const std::string& label) const {
        for (const auto& b : buttons())
            if (b->accessibilityLabel() == label) return b;
        ADD_FAILURE() << "no button labelled " << label;
        return std::make_shared<StripActionButton>();
    }

    static Event wheel(double dx, double dy, bool precise) {
        Event event;
        event.type = Event::Type::scrollWheel;
        event.scrollingDeltaX = dx;
        event.scrollingDeltaY = dy;
        event.hasPreciseScrollingDeltas = precise;
        return event;
    }

    std::shared_ptr<FakeStripOwner> owner;
    std::shared_ptr<StripView> strip;
};

inline const std::vector<std::string> six{"a", "b", "c", "d", "e", "f"};
inline const std::vector<std::string> eight{"a", "b", "c", "d", "e", "f", "g", "h"};

}  // namespace orvane::testing
