// Contract tests of platform::ScreenCapture: every answer comes later, on the
// main run loop; without access a capture is declined with the stream
// domain's code; with access our own shown window is listed, ordered and
// captured at exactly the pixel size asked for.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "platform/RunLoop.h"
#include "platform/ScreenCapture.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Window.h"
#include "tests/platform/ContractHarness.h"

namespace {

using namespace orvane::contract;
namespace ui = platform::ui;

class PlatformContractScreenCapture : public ::testing::Test {
protected:
    void TearDown() override {
        if (window_) window_->orderOut();
    }

    // A titled window of ours, shown at the front.
    std::shared_ptr<ui::Window> showWindow() {
        window_ = ui::Window::create({200, 300, 240, 160}, ui::styleMask::titled | ui::styleMask::closable);
        window_->orderFront();
        return window_;
    }

    // Asks for one capture and waits for its answer, checking that it came
    // later than the call and on the main thread.
    std::optional<platform::CaptureResult> capture(std::uint32_t windowID, int width, int height) {
        // Shared with the completion, which may come after this gives up waiting.
        struct Answer {
            std::optional<platform::CaptureResult> result;
            bool onMain = false;
        };
        auto answer = std::make_shared<Answer>();
        platform::CaptureConfiguration configuration;
        configuration.width = width;
        configuration.height = height;
        platform::screenCapture().captureWindow(windowID, configuration, [answer](platform::CaptureResult result) {
            answer->onMain = platform::runLoop().isMainThread();
            answer->result = std::move(result);
        });
        EXPECT_FALSE(answer->result) << "a capture never answers inside the call";
        contractRunUntil([&] {
            contractAdvance(0.1);
            return answer->result.has_value();
        }, 10);
        EXPECT_TRUE(answer->onMain) << "captures answer on the main run loop";
        return answer->result;
    }

    std::shared_ptr<ui::Window> window_;
};

// Tests that without access the preflight says no, asking again still says
// no, and a capture of a window that exists is declined with the stream
// domain's user-declined code and no image.
TEST_F(PlatformContractScreenCapture, WithoutAccessCapturesAreDeclined) {
    contractReset();
    auto& capture = platform::screenCapture();
    EXPECT_FALSE(capture.preflight());
    EXPECT_FALSE(capture.request());
    const auto window = showWindow();
    auto answer = this->capture(static_cast<std::uint32_t>(window->windowNumber()), 120, 80);
    ASSERT_TRUE(answer);
    EXPECT_FALSE(answer->image);
    ASSERT_TRUE(answer->error);
    EXPECT_EQ(answer->error->domain, platform::screenCaptureError::streamDomain);
    EXPECT_EQ(answer->error->code, platform::screenCaptureError::userDeclined);
}

// Tests that with access our shown window is in the on-screen listing (with
// its number and our pid's application) and in the on-screen order, that a
// capture gives an image of exactly the pixel size asked for whatever the
// window's shape, and that a window that does not exist gives an error and
// no image.
TEST_F(PlatformContractScreenCapture, WithAccessOurWindowIsListedAndCapturedAtTheAskedSize) {
    contractReset({.screenCaptureAllowed = true});
    auto& capture = platform::screenCapture();
    EXPECT_TRUE(capture.preflight());
    const auto window = showWindow();
    const auto number = static_cast<std::uint32_t>(window->windowNumber());

    std::optional<platform::ShareableContent> content;
    capture.shareableContent(true, true, [&](platform::ShareableContent listed) { content = std::move(listed); });
    EXPECT_FALSE(content) << "the listing never answers inside the call";
    ASSERT_TRUE(contractRunUntil([&] {
        contractAdvance(0.1);
        return content.has_value();
    }, 10));
    ASSERT_FALSE(content->error) << content->error->description;
    const auto listed = std::find_if(content->windows.begin(), content->windows.end(),
                                     [&](const platform::ShareableWindow& w) { return w.windowID == number; });
    ASSERT_NE(listed, content->windows.end()) << "our shown window is shareable";
    EXPECT_GT(listed->frame.width(), 0);
    EXPECT_GT(listed->frame.height(), 0);

    const auto order = capture.onScreenWindowOrder();
    EXPECT_NE(std::find(order.begin(), order.end(), static_cast<std::int64_t>(number)), order.end());

    for (auto [width, height] : {std::pair{120, 80}, std::pair{37, 151}, std::pair{1, 1}}) {
        auto answer = this->capture(number, width, height);
        ASSERT_TRUE(answer);
        ASSERT_FALSE(answer->error) << answer->error->description;
        ASSERT_TRUE(answer->image);
        EXPECT_EQ(answer->image->pixelsWide(), width);
        EXPECT_EQ(answer->image->pixelsHigh(), height);
    }

    auto missing = this->capture(number + 100000, 120, 80);
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->error);
    EXPECT_FALSE(missing->image);
}

}  // namespace
