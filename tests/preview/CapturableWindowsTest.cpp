// Tests of which of an application's windows a card can show, and in which
// order: the owner, layer and size filter, the front-to-back order with
// windows missing from the on-screen list last, and the tie-break by number.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "preview/CapturableWindows.h"

namespace {

using orvane::capturableWindows;
using platform::ShareableWindow;

ShareableWindow window(std::uint32_t id, int pid, std::optional<std::string> bundle = "com.example.app",
                       double width = 800, double height = 600, long layer = 0) {
    ShareableWindow w;
    w.windowID = id;
    w.frame = {100, 100, width, height};
    w.windowLayer = layer;
    w.title = "W" + std::to_string(id);
    w.owningApplication = platform::CaptureApplication{pid, std::move(bundle)};
    return w;
}

std::vector<std::uint32_t> ids(const std::vector<ShareableWindow>& windows) {
    std::vector<std::uint32_t> result;
    for (const auto& w : windows) result.push_back(w.windowID);
    return result;
}

// Tests that only ordinary windows of the process or of its bundle's other
// processes, at least 100 x 80 points, are kept.
TEST(CapturableWindows, KeepsOrdinaryWindowsOfTheApplication) {
    ShareableWindow ownerless = window(9, 10);
    ownerless.owningApplication.reset();
    std::vector<ShareableWindow> all = {
        window(1, 10),                              // kept
        window(2, 11),                              // another process of the bundle: kept
        window(3, 12, "com.example.other"),         // another application
        window(4, 10, "com.example.app", 99, 600),  // too narrow
        window(5, 10, "com.example.app", 100, 79),  // too low
        window(6, 10, "com.example.app", 100, 80),  // just large enough: kept
        window(7, 10, "com.example.app", 800, 600, 3),  // not layer 0
        window(8, 13, std::nullopt),                // another process without a bundle
        ownerless,
    };
    EXPECT_EQ(ids(capturableWindows(all, 10, "com.example.app", {1, 2, 6})), (std::vector<std::uint32_t>{1, 2, 6}));
    EXPECT_EQ(ids(capturableWindows(all, 10, std::nullopt, {1, 2, 6})), (std::vector<std::uint32_t>{1, 6}))
        << "without a bundle identifier only the process's own windows count";
    EXPECT_TRUE(capturableWindows(all, 99, std::nullopt, {}).empty());
    ShareableWindow notANumber = window(20, 10);
    notANumber.frame = {0, 0, std::nan(""), 600};
    EXPECT_TRUE(capturableWindows({notANumber}, 10, std::nullopt, {20}).empty());
}

// Tests that windows follow the on-screen order, that windows missing from
// it come last by number, and that numbers beyond 32 bits are ignored.
TEST(CapturableWindows, FrontToBackWithUnlistedLast) {
    std::vector<ShareableWindow> all = {window(40, 10), window(7, 10), window(30, 10), window(12, 10), window(5, 10)};
    std::vector<std::int64_t> order = {99, 30, -1, 4294967296 + 12, 40, 30};
    EXPECT_EQ(ids(capturableWindows(all, 10, std::nullopt, order)), (std::vector<std::uint32_t>{30, 40, 5, 7, 12}));
    EXPECT_EQ(ids(capturableWindows(all, 10, std::nullopt, {})), (std::vector<std::uint32_t>{5, 7, 12, 30, 40}));
    std::vector<ShareableWindow> highest = {window(4294967295u, 10), window(1, 10)};
    EXPECT_EQ(ids(capturableWindows(highest, 10, std::nullopt, {4294967295})),
              (std::vector<std::uint32_t>{4294967295u, 1}));
}

}  // namespace
