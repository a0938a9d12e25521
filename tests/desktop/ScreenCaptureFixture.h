#pragma once

// The scene and the fixture the screen-recording service's tests share: a
// Mac with Safari (two processes), Notes and a hidden Mail, and helpers that
// list windows and capture one the way the card does.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "desktop/Desktop.h"
#include "platform/ScreenCapture.h"
#include "tests/desktop/ScratchDisk.h"

namespace orvane::test {

using nlohmann::json;
using platform::CaptureConfiguration;
using platform::CaptureResult;
using platform::ShareableContent;
using platform::ShareableWindow;

inline json captureScene() {
    return json::parse(R"({
      "screens": [{"frame": [0, 0, 1512, 982], "visibleFrame": [0, 0, 1512, 945], "backingScale": 2}],
      "screenCaptureGranted": true,
      "apps": [
        {"bundleId": "com.apple.Safari", "name": "Safari", "path": "/Applications/Safari.app", "pid": 501,
         "windows": [{"number": 201, "title": "Apple", "frame": [100, 100, 800, 600], "color": "#f5f5f7"},
                     {"number": 202, "title": "Start", "frame": [150, 150, 700, 500], "onScreen": false}]},
        {"bundleId": "com.apple.Safari", "name": "Safari", "path": "/Applications/Safari.app", "pid": 502,
         "windows": [{"number": 203, "title": "Private", "frame": [200, 200, 600, 400]}]},
        {"bundleId": "com.apple.Notes", "name": "Notes", "path": "/System/Applications/Notes.app", "pid": 601,
         "windows": [{"number": 401, "title": "Notes", "frame": [300, 300, 500, 400], "color": "#2050a0"},
                     {"number": 402, "title": "Palette", "frame": [320, 320, 200, 200], "layer": 3}]},
        {"bundleId": "com.apple.mail", "name": "Mail", "path": "/System/Applications/Mail.app", "pid": 701,
         "hidden": true, "windows": [{"number": 301, "title": "Inbox", "frame": [50, 50, 900, 600]}]}
      ]
    })");
}

class ScreenCaptureTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::reset(orvane::test::onScratchDisk(captureScene()), desktop::Clock::manual); }
    void TearDown() override { desktop::reset(orvane::test::onScratchDisk(json::object()), desktop::Clock::manual); }

    static platform::ScreenCapture& capture() { return platform::screenCapture(); }

    static ShareableContent list(bool onScreenOnly) {
        std::optional<ShareableContent> answer;
        capture().shareableContent(true, onScreenOnly, [&](ShareableContent content) { answer = std::move(content); });
        desktop::advance(0);
        EXPECT_TRUE(answer) << "the listing never arrived";
        return answer.value_or(ShareableContent{});
    }

    static CaptureResult shoot(std::uint32_t window, int width, int height, bool scalesToFit = true) {
        std::optional<CaptureResult> answer;
        CaptureConfiguration configuration;
        configuration.width = width;
        configuration.height = height;
        configuration.scalesToFit = scalesToFit;
        capture().captureWindow(window, configuration, [&](CaptureResult result) { answer = std::move(result); });
        desktop::advance(0);
        EXPECT_TRUE(answer) << "the capture never arrived";
        return answer.value_or(CaptureResult{});
    }

    static std::optional<ShareableWindow> find(const ShareableContent& content, std::uint32_t number) {
        for (const auto& window : content.windows)
            if (window.windowID == number) return window;
        return std::nullopt;
    }

    static void verb(const std::string& line) {
        json reply = desktop::verb(line);
        ASSERT_TRUE(reply.value("ok", false)) << line << ": " << reply.dump();
    }
};

inline CaptureConfiguration sized(int width, int height) {
    CaptureConfiguration configuration;
    configuration.width = width;
    configuration.height = height;
    return configuration;
}

inline bool declined(const CaptureResult& result) {
    return result.error && result.error->domain == platform::screenCaptureError::streamDomain &&
           result.error->code == platform::screenCaptureError::userDeclined;
}

}  // namespace orvane::test
