#pragma once

// The steps of a fuzz session and how often a random byte picks each: the
// first byte of a step, modulo the table's size, names its kind.

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvane::fuzz {

enum class StepKind : std::uint8_t {
    command,        // a command with structured arguments
    rawRequest,     // a request text of raw bytes
    pointerAtSlot,  // the pointer moves onto control k of the strip
    clickSlot,
    rightClickSlot,
    scrollAtSlot,
    pointerElsewhere,  // off the strip, onto the card, the menu bar, anywhere
    menu,              // choose item n of the open menu, or dismiss it
    app,               // launch, quit, hide, unhide or activate app k
    system,            // wake, space change, screens, appearance
    permission,        // grant or revoke a permission
    captureOutcome,    // a capture succeeds, is declined or fails
    window,            // another app's window leaves, returns, closes or opens
    clock,             // the manual clock moves by a quantised time
    dockFile,          // the Dock's preferences file is replaced
    drain,             // the host drains the events
    cardClick,         // a click inside the open card
    settingsWindow,    // a click or typing in the settings window
    screenshot,        // a picture of the whole screen
    count
};

struct StepWeight {
    StepKind kind;
    std::uint8_t weight;
};

// Commands and the pointer dominate; a screenshot, which draws the whole
// screen, stays rare.
inline constexpr StepWeight stepWeights[] = {
    {StepKind::command, 30},
    {StepKind::rawRequest, 2},
    {StepKind::pointerAtSlot, 10},
    {StepKind::clickSlot, 8},
    {StepKind::rightClickSlot, 5},
    {StepKind::scrollAtSlot, 5},
    {StepKind::pointerElsewhere, 6},
    {StepKind::menu, 10},
    {StepKind::app, 8},
    {StepKind::system, 5},
    {StepKind::permission, 5},
    {StepKind::captureOutcome, 4},
    {StepKind::window, 4},
    {StepKind::clock, 12},
    {StepKind::dockFile, 3},
    {StepKind::drain, 5},
    {StepKind::cardClick, 4},
    {StepKind::settingsWindow, 6},
    {StepKind::screenshot, 1},
};

constexpr std::size_t stepTableSize() {
    std::size_t total = 0;
    for (const auto& entry : stepWeights) total += entry.weight;
    return total;
}

// The kind a step's first byte names.
constexpr StepKind stepKindOf(std::uint8_t byte) {
    std::size_t slot = byte % stepTableSize();
    for (const auto& entry : stepWeights) {
        if (slot < entry.weight) return entry.kind;
        slot -= entry.weight;
    }
    return StepKind::command;
}

// The smallest byte that names the kind (what the seed writer writes).
constexpr std::uint8_t stepByteOf(StepKind kind) {
    std::size_t first = 0;
    for (const auto& entry : stepWeights) {
        if (entry.kind == kind) return static_cast<std::uint8_t>(first);
        first += entry.weight;
    }
    return 0;
}

static_assert(stepTableSize() <= 256, "a step's first byte must be able to name every kind");
static_assert(stepKindOf(stepByteOf(StepKind::screenshot)) == StepKind::screenshot, "the table names every kind");

// The first byte of an input chooses where the session starts.
enum class Prelude : std::uint8_t {
    nothing,               // no controller
    started,               // start
    configured,            // start and the usual configuration
    trustedAndConfigured,  // accessibility granted, start and the usual configuration
    count
};

// A card click's first byte from here up clicks one of the card's buttons.
inline constexpr std::uint8_t cardButtonByte = 0xF0;

// The byte after a screenshot step that lets it run.
inline constexpr std::uint8_t screenshotByte = 'S';

// How many steps one input may run: long enough for a card's whole life,
// short enough for thousands of inputs a second.
inline constexpr int maximumSteps = 64;

}  // namespace orvane::fuzz
