#pragma once

#include <memory>
#include <string>

#include "platform/Error.h"
#include "platform/ScreenCapture.h"

namespace orvane {

// One picture of one of our windows with its frame, as the screen-capture
// service sees it, saved into a folder: the on-screen windows are listed,
// the window is found by its number and captured at twice its size in
// points, and the PNG replaces fileName there. A window that is no longer on
// screen ends the job without a trace; a listing or capture that fails
// leaves its description in "capture-error.txt", written atomically. The job
// refers to the window only by number, so it outlives the window and its
// owner: nobody holds it but the completion it waits for, and it ends after
// at most one listing and one capture.
class WindowSnapshotJob : public std::enable_shared_from_this<WindowSnapshotJob> {
public:
    static constexpr double pixelsPerPoint = 2;

    // Lists the shareable windows; the rest follows on the main run loop.
    static void start(int windowNumber, std::string directory, std::string fileName);
    // Use start(): the job keeps itself alive through its completions.
    WindowSnapshotJob(int windowNumber, std::string directory, std::string fileName)
        : windowNumber_(windowNumber), directory_(std::move(directory)), fileName_(std::move(fileName)) {}

private:
    void listed(const platform::ShareableContent& content);
    void captured(const platform::CaptureResult& result);
    void writeError(const platform::Error& error) const;

    int windowNumber_;
    std::string directory_;
    std::string fileName_;
};

}  // namespace orvane
