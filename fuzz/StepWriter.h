#pragma once

// Writes the bytes a Session reads, step by step, so that seeds and
// regression inputs read as the sessions they are. Each helper writes
// exactly what the matching reader consumes (FuzzInput, CommandSteps.cpp,
// DesktopSteps.cpp).

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "fuzz/StepKind.h"

namespace orvane::fuzz {

class StepWriter {
public:
    explicit StepWriter(Prelude prelude = Prelude::configured) { byte(static_cast<std::uint8_t>(prelude)); }

    const std::string& bytes() const { return bytes_; }

    // Primitives, as FuzzInput reads them.
    StepWriter& byte(std::uint8_t value) {
        bytes_.push_back(static_cast<char>(value));
        return *this;
    }
    StepWriter& word(std::uint16_t value) { return byte(value & 0xFF).byte(value >> 8); }
    StepWriter& kind(StepKind kind) { return byte(stepByteOf(kind)); }
    StepWriter& boolean(bool value) { return byte(value ? 1 : 0); }
    // An integer in -2..13 (small) or any other (raw).
    StepWriter& integer(std::int64_t value) {
        if (value >= encoding::smallBase && value < encoding::smallBase + 16)
            return byte(encoding::small).byte(static_cast<std::uint8_t>(value - encoding::smallBase));
        byte(encoding::raw);
        for (int i = 0; i < 8; ++i) byte(static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i)));
        return *this;
    }
    StepWriter& integerTag(encoding::IntegerTag tag) { return byte(tag); }
    // The pool's string at index.
    StepWriter& pooled(std::uint8_t index) { return byte(index); }
    // Raw bytes (fewer than 64).
    StepWriter& raw(std::string_view text) {
        byte(encoding::pooledLimit + encoding::rawText).byte(static_cast<std::uint8_t>(text.size()));
        for (char c : text) byte(static_cast<std::uint8_t>(c));
        return *this;
    }
    StepWriter& emptyText() { return byte(encoding::pooledLimit + encoding::emptyText); }
    StepWriter& longRun(char c) {
        return byte(encoding::pooledLimit + encoding::longRun).byte(static_cast<std::uint8_t>(c));
    }
    // A value of another type where a typed argument is expected (here: null).
    StepWriter& wrongType() { return byte(encoding::anyTypeTag).byte(encoding::nullValue); }
    StepWriter& wrongTypeText() {
        return byte(encoding::pooledLimit + encoding::anyText).byte(encoding::integerValue).integer(3);
    }

    // Steps. A command: its index in the table, then the shape of its
    // arguments (0: as the command reads them, 6: none, 7: a value of any
    // type); the caller then writes the arguments' bytes.
    StepWriter& command(std::uint8_t index, std::uint8_t shape = 0) {
        return kind(StepKind::command).byte(index).byte(shape);
    }
    // An app record of the scene's app (index), unchanged.
    StepWriter& record(std::uint8_t app) { return byte(app).byte(0); }
    StepWriter& slot(StepKind kind, std::uint8_t control, std::uint8_t fx = 0, std::uint8_t fy = 0) {
        return this->kind(kind).byte(control).byte(fx).byte(fy);
    }
    StepWriter& clock(std::uint8_t quantum) { return kind(StepKind::clock).byte(quantum); }
    // Menu: how (0, 1: item n; 2: dismiss; 3: the title), n, then a title of the names pool.
    StepWriter& menuItem(std::uint8_t n) { return kind(StepKind::menu).byte(0).byte(n).pooled(0); }
    StepWriter& menuTitle(std::uint8_t name) { return kind(StepKind::menu).byte(3).byte(0).pooled(name); }
    StepWriter& dismissMenu() { return kind(StepKind::menu).byte(2).byte(0).pooled(0); }
    StepWriter& drain() { return kind(StepKind::drain); }
    // The settings window: how (0, 1: a named action; 2: a page or toolbar
    // button; 3: an app row's button; 4: a policy; 5: the icon stepper;
    // 6: typing; 7: close, resize or a fuzzed label), which, and an app.
    StepWriter& settings(std::uint8_t how, std::uint8_t which, std::uint8_t app = 1) {
        return kind(StepKind::settingsWindow).byte(how).byte(which).byte(app);
    }

private:
    std::string bytes_;
};

// Indexes into the command table as CommandSteps.cpp reads them.
namespace commandIndex {
enum : std::uint8_t {
    start,
    configure,
    settingsUpdate,
    settingsShow,
    settingsHide,
    settingsTab,
    qaSelfPreview,
    screenPermission,
    screenRetry,
    import,
    installed,
    snapshot,
    appearance,
    capture,
    events,
    permission,
    launch,
    reveal,
    all,
    dockSuspend,
    dockRead,
    dockWrite,
    previewStep,
    closeCard,
    scroll,
    hover,
    stop,
    wrongCase,
    trailingSpace,
    fuzzedName
};
}  // namespace commandIndex

// Indexes of the scene's applications (FuzzScene::apps()).
namespace sceneApp {
enum : std::uint8_t { finder, safari, mail, terminal, dropbox, notes, pathless, broken, slack, missing, dock, host };
}  // namespace sceneApp

// Indexes of the clock's quanta (DesktopSteps.cpp).
namespace quantum {
enum : std::uint8_t {
    none,
    tiny,
    tenth,
    fade,
    hide,
    pastHide,
    third,
    hover,
    pastHover,
    half,
    capturePause,
    second,
    secondAndHalf,
    tick,
    twoTicks,
    minute
};
}  // namespace quantum

}  // namespace orvane::fuzz
