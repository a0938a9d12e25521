// Writes the seed corpus of the session target (fuzz/corpus-seed) and its
// dictionary: every command, every step, and the edge cases of the command
// table, the strip, the card, the menus, the Dock and the desktop, each as a
// short session. Run it after changing the step grammar:
//   build/orvane_fuzz_seeds fuzz/corpus-seed fuzz/session.dict

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/StepWriter.h"

namespace {

namespace fs = std::filesystem;
using namespace orvane::fuzz;
namespace ci = orvane::fuzz::commandIndex;
namespace app = orvane::fuzz::sceneApp;
namespace q = orvane::fuzz::quantum;

std::vector<std::pair<std::string, StepWriter>> seeds;

StepWriter& seed(const std::string& name, Prelude prelude = Prelude::configured) {
    seeds.emplace_back(name, StepWriter(prelude));
    return seeds.back().second;
}

// Indexes of the scene's pools (FuzzScene.cpp).
enum Folder : std::uint8_t { desktopFolder, desktopSlash, documents, rootFolder, nonexistent, aFile, noFolder, dotDot };
enum Word : std::uint8_t { apps, add, settings };
enum Name : std::uint8_t { settingsTitle = 12, quitTitle = 13 };

// configure with the given keys; pinned as scene apps.
StepWriter& configure(StepWriter& w, std::vector<std::uint8_t> pinned, std::int64_t maxIcons, bool centered = false,
                      bool dockPersistent = false) {
    w.command(ci::configure).byte(0x3F).boolean(dockPersistent).byte(static_cast<std::uint8_t>(pinned.size()));
    for (auto a : pinned) w.byte(0).record(a);
    return w.integer(maxIcons).boolean(true).boolean(true).boolean(centered);
}

void commands() {
    seed("start-twice", Prelude::nothing).command(ci::start).boolean(false).command(ci::start).boolean(false);
    seed("start-qa", Prelude::nothing).command(ci::start).boolean(true).command(ci::dockWrite).byte(3).byte(0).byte(0)
        .command(ci::qaSelfPreview).command(ci::stop);
    seed("before-start", Prelude::nothing).command(ci::snapshot).command(ci::events).command(ci::stop)
        .command(ci::hover).integer(0).command(ci::dockWrite).byte(3).byte(2).byte(3);
    configure(seed("configure-clamps"), {app::safari, app::notes}, 1);
    configure(configure(seed("configure-wide"),
                        {app::safari, app::mail, app::notes, app::missing, app::broken, app::slack}, 40),
              {}, 2);
    configure(configure(seed("configure-centred"), {app::safari}, 5, true), {app::safari}, 5, false);
    // The same ids with another record behind the first: the buttons must act on the new one.
    seed("configure-renames-a-shown-id", Prelude::started).command(ci::configure).byte(0)
        .command(ci::configure).byte(0x02).byte(1).byte(0).byte(app::safari).byte(0x01).pooled(0)
        .slot(StepKind::clickSlot, 0).drain();
    seed("configure-pinned-not-object").command(ci::configure).byte(0x02).byte(2).byte(15).byte(encoding::integerValue)
        .integer(7).byte(0).record(app::safari);
    seed("configure-wrong-types").command(ci::configure).byte(0x3F).wrongType().byte(7).byte(encoding::textValue)
        .pooled(0).wrongType().wrongType().wrongType().wrongType();
    seed("configure-dock-persistent").command(ci::configure).byte(0x01).boolean(true).clock(q::tick).clock(q::tick)
        .command(ci::dockRead).command(ci::dockSuspend).clock(q::tick);
    seed("settings-update-empty").command(ci::settingsUpdate).byte(0).command(ci::settingsShow).command(ci::settingsHide);
    seed("settings-update-full").command(ci::settingsUpdate).byte(0x7F)
        .byte(2).record(app::safari).record(app::missing).integer(4).boolean(true).boolean(true).boolean(false)
        .boolean(true).boolean(true).byte(1)  // preferences
        .byte(1).pooled(1).pooled(6)          // detections: com.apple.Safari present
        .boolean(true).boolean(false).byte(1).record(app::safari).byte(0).pooled(21)
        .byte(1).byte(1).record(app::notes)   // installed
        .pooled(0).emptyText().boolean(true).boolean(true)
        .command(ci::settingsShow).command(ci::settingsTab).pooled(add).command(ci::settingsTab).wrongTypeText()
        .command(ci::settingsTab, 6).command(ci::settingsHide);
    seed("screen-permission").command(ci::screenPermission).command(ci::screenRetry).clock(q::second).drain();
    seed("import-installed").command(ci::import).command(ci::installed);
    seed("appearance").command(ci::appearance).boolean(true).command(ci::appearance).boolean(false)
        .command(ci::appearance).wrongType();
    seed("capture").command(ci::capture).pooled(desktopFolder).command(ci::capture).pooled(nonexistent)
        .command(ci::capture).pooled(aFile).command(ci::capture).pooled(noFolder).command(ci::capture).pooled(dotDot);
    seed("events-twice").command(ci::events).command(ci::events, 7).byte(encoding::arrayValue).byte(0);
    seed("permission-prompt").command(ci::permission).boolean(true).command(ci::permission, 6);
    seed("launch-each").command(ci::launch).record(app::safari).command(ci::launch).record(app::missing)
        .command(ci::launch).record(app::broken).command(ci::launch).record(app::notes).drain();
    seed("launch-by-id-only").command(ci::launch).record(app::slack).command(ci::launch).byte(app::slack).byte(0x10)
        .command(ci::launch).byte(app::missing).byte(0x04).emptyText().drain();
    seed("launch-without-controller", Prelude::nothing).command(ci::launch).record(app::missing).drain();
    seed("reveal").command(ci::reveal).pooled(0).command(ci::reveal).raw("../../..").command(ci::reveal).wrongTypeText();
    seed("all-menu-settings").command(ci::all).menuTitle(settingsTitle).drain().command(ci::all).menuItem(1).drain();
    seed("dock-read-write").command(ci::dockRead).command(ci::dockWrite).byte(0).command(ci::dockWrite).byte(1).byte(0)
        .command(ci::dockWrite).byte(3).byte(2).byte(3).command(ci::dockWrite).byte(3).byte(0).byte(1)
        .command(ci::dockWrite).byte(3).byte(0).byte(2).command(ci::dockWrite).byte(7).byte(1).byte(4).byte(7).pooled(0)
        .byte(0);
    seed("preview-step-close").command(ci::hover).integer(0).command(ci::previewStep).integer(1)
        .command(ci::previewStep).integer(-1).command(ci::previewStep, 6).command(ci::closeCard);
    seed("scroll").command(ci::scroll).integer(1).command(ci::scroll).integer(2).command(ci::scroll).integer(-1)
        .command(ci::scroll).integerTag(encoding::maximum).command(ci::scroll).integerTag(encoding::minimum)
        .clock(q::fade);
    seed("hover-edges").command(ci::hover).integer(-1).command(ci::hover).integer(7).command(ci::hover).integer(6)
        .command(ci::hover).integerTag(encoding::maximum).command(ci::hover).wrongType().command(ci::scroll).integer(2)
        .command(ci::hover).integer(2).clock(q::second);
    seed("stop-twice").command(ci::stop).command(ci::stop).command(ci::snapshot);
    seed("unknown-names").command(ci::wrongCase).command(ci::trailingSpace).command(ci::fuzzedName).raw("dockwrite");
    seed("raw-requests", Prelude::started)
        .kind(StepKind::rawRequest).byte(0).byte(0)
        .kind(StepKind::rawRequest).byte(0).byte(2).byte('[').byte(']')
        .kind(StepKind::rawRequest).byte(1).word(40000)
        .kind(StepKind::rawRequest).byte(2)
        .kind(StepKind::rawRequest).byte(3).byte(ci::events).word(3).byte('E');
    seed("raw-invalid-utf8", Prelude::started).kind(StepKind::rawRequest).byte(0).byte(38)
        .byte('{').byte('"').byte('c').byte('o').byte('m').byte('m').byte('a').byte('n').byte('d').byte('"').byte(':')
        .byte('"').byte('s').byte('t').byte('o').byte('p').byte('"').byte(',').byte('"').byte('x').byte('"').byte(':')
        .byte('"').byte(0xE4).byte(0xB8).byte('"').byte('}').byte(0).byte(0).byte(0).byte(0).byte(0).byte(0).byte(0)
        .byte(0).byte(0).byte(0).byte(0);
}

void pointer() {
    seed("hover-opens-card").slot(StepKind::pointerAtSlot, 0).clock(q::pastHover).clock(q::capturePause)
        .clock(q::second).kind(StepKind::pointerElsewhere).byte(0).clock(q::pastHide);
    seed("hover-passes-over").slot(StepKind::pointerAtSlot, 0).clock(q::tenth).slot(StepKind::pointerAtSlot, 1)
        .clock(q::tenth).slot(StepKind::pointerAtSlot, 2).clock(q::pastHover);
    seed("hover-into-card").slot(StepKind::pointerAtSlot, 1).clock(q::pastHover).kind(StepKind::pointerElsewhere)
        .byte(2).byte(0).clock(q::pastHide).kind(StepKind::cardClick).byte(0).byte(0).kind(StepKind::cardClick)
        .byte(2).byte(2).kind(StepKind::pointerElsewhere).byte(3).byte(1).clock(q::pastHide).drain();
    seed("click-each-slot").slot(StepKind::clickSlot, 0).slot(StepKind::clickSlot, 1).slot(StepKind::clickSlot, 2)
        .slot(StepKind::clickSlot, 3).slot(StepKind::clickSlot, 4).slot(StepKind::clickSlot, 5).drain();
    seed("right-click-pin").slot(StepKind::rightClickSlot, 0).menuItem(1).drain().slot(StepKind::rightClickSlot, 1)
        .menuItem(2).menuItem(0).slot(StepKind::rightClickSlot, 2).menuItem(0).drain();
    seed("manager-menu-quit").slot(StepKind::clickSlot, 5).menuItem(3).drain().slot(StepKind::clickSlot, 5)
        .menuTitle(quitTitle).drain();
    seed("menu-dismiss").command(ci::all).dismissMenu().menuTitle(quitTitle).command(ci::all).slot(StepKind::clickSlot, 0)
        .menuItem(0);
    seed("scroll-wheel").kind(StepKind::scrollAtSlot).byte(0).byte(0).byte(0).byte(0).byte(6).byte(0)
        .kind(StepKind::scrollAtSlot).byte(0).byte(0).byte(0).byte(7).byte(0).byte(1).clock(q::fade)
        .kind(StepKind::scrollAtSlot).byte(1).byte(0).byte(0).byte(10).byte(11).byte(1);
    seed("pointer-anywhere").kind(StepKind::pointerElsewhere).byte(5).integerTag(encoding::maximum)
        .integerTag(encoding::minimum).kind(StepKind::pointerElsewhere).byte(4).kind(StepKind::pointerElsewhere)
        .byte(6).kind(StepKind::pointerElsewhere).byte(7).kind(StepKind::pointerElsewhere).byte(1);
    seed("refresh-held-while-inside").slot(StepKind::pointerAtSlot, 0).kind(StepKind::app).byte(0).byte(app::notes)
        .byte(0).kind(StepKind::app).byte(1).byte(app::safari).byte(0).kind(StepKind::pointerElsewhere).byte(0)
        .clock(q::tick);
    configure(seed("centred-manager-click"), {app::safari}, 2, true).slot(StepKind::clickSlot, 2)
        .menuItem(1).drain();
}

void desktop() {
    auto& apps = seed("app-verbs");
    for (std::uint8_t verb = 0; verb < 5; ++verb)
        for (std::uint8_t a : {app::safari, app::notes, app::mail, app::pathless, app::dock})
            apps.kind(StepKind::app).byte(verb).byte(a).byte(verb % 3);
    seed("wake-space-appearance").kind(StepKind::system).byte(0).kind(StepKind::system).byte(1)
        .kind(StepKind::system).byte(4).kind(StepKind::system).byte(5);
    auto& screens = seed("screens");
    for (std::uint8_t variant : {1, 2, 0, 3, 4, 5, 7}) screens.kind(StepKind::system).byte(2).byte(variant);
    screens.kind(StepKind::system).byte(2).byte(6).byte(encoding::objectValue).byte(0);
    configure(seed("screens-centred"), {app::safari}, 3, true).kind(StepKind::system).byte(2).byte(2)
        .kind(StepKind::system).byte(2).byte(4).kind(StepKind::system).byte(2).byte(0);
    auto& permissions = seed("permissions");
    for (std::uint8_t what = 0; what < 4; ++what)
        permissions.kind(StepKind::permission).byte(1).byte(what).kind(StepKind::permission).byte(0).byte(what);
    seed("trusted-detection", Prelude::trustedAndConfigured).clock(q::tick).command(ci::permission).boolean(false)
        .kind(StepKind::permission).byte(0).byte(0).clock(q::tick);
    seed("capture-outcomes").kind(StepKind::permission).byte(1).byte(1)
        .kind(StepKind::captureOutcome).byte(0).byte(2)
        .kind(StepKind::captureOutcome).byte(1).byte(0).pooled(1)
        .kind(StepKind::captureOutcome).byte(2).byte(1).byte(1).byte(0)
        .kind(StepKind::captureOutcome).byte(2).byte(2).byte(1).pooled(0).integer(-3811).pooled(0)
        .slot(StepKind::pointerAtSlot, 0).clock(q::pastHover).clock(q::second).clock(q::second);
    auto& windows = seed("window-verbs");
    for (std::uint8_t action = 0; action < 4; ++action) windows.kind(StepKind::window).byte(action).byte(1);
    for (std::uint8_t frame = 0; frame < 4; ++frame)
        windows.kind(StepKind::window).byte(4).byte(app::safari).byte(frame).pooled(0);
    windows.kind(StepKind::window).byte(4).byte(app::host).byte(0).pooled(0);
    seed("clock-quanta").clock(q::tiny).clock(q::hide).clock(q::half).clock(q::secondAndHalf).clock(q::twoTicks)
        .clock(q::minute);
    for (std::uint8_t how = 0; how < 8; ++how) {
        auto& dock = seed("dock-file-" + std::to_string(how));
        dock.kind(StepKind::dockFile).byte(how);
        switch (how) {
        case 0: dock.word(4).byte('b').byte('p').byte('l').byte('i'); break;
        case 1:
        case 2:
            dock.byte(encoding::objectValue).byte(1).pooled(0).byte(encoding::booleanValue).byte(1).byte(how == 1);
            break;
        case 5: dock.word(40); break;
        case 6: dock.word(9).byte(0xFF); break;
        default: break;
        }
        dock.command(ci::dockWrite).byte(3).byte(0).byte(1).command(ci::dockRead).command(ci::import)
            .command(ci::configure).byte(0x01).boolean(true).clock(q::tick);
    }
    // A key holding a NUL: the reader must refuse the file rather than let
    // libplist abort the process.
    std::string nulKey = std::string("bplist00\xD1\x01\x02\x52k\0\x10\x05\x00\x08\x00\x0B\x00\x0E", 22);
    std::string trailer(32, '\0');
    trailer[6] = 2;
    trailer[7] = 1;
    trailer[15] = 3;
    trailer[31] = 16;
    nulKey += trailer;
    auto& nul = seed("dock-file-nul-key").kind(StepKind::dockFile).byte(0).word(static_cast<std::uint16_t>(nulKey.size()));
    for (char c : nulKey) nul.byte(static_cast<std::uint8_t>(c));
    nul.command(ci::dockRead).command(ci::import).command(ci::dockWrite).byte(3).byte(0).byte(1)
        .command(ci::configure).byte(0x01).boolean(true).clock(q::tick);
    seed("dock-quit-then-write").kind(StepKind::app).byte(1).byte(app::dock).byte(0).command(ci::dockWrite).byte(3)
        .byte(0).byte(0).command(ci::configure).byte(0x01).boolean(true).clock(q::tick).drain();
    seed("screenshot").slot(StepKind::pointerAtSlot, 0).clock(q::pastHover).command(ci::all)
        .kind(StepKind::screenshot).byte(screenshotByte);
    // The host's usual settings state: Safari and Notes pinned, trusted, a banner.
    auto settingsUpdate = [](StepWriter& w) -> StepWriter& {
        return w.command(ci::settingsUpdate).byte(0x0B)
            .byte(2).record(app::safari).record(app::notes).integer(4).boolean(false).boolean(true).boolean(true)
            .boolean(false).boolean(true).byte(1)
            .byte(0).boolean(true).boolean(false).byte(0).byte(0).pooled(21)
            .pooled(0);
    };
    auto& named = settingsUpdate(seed("settings-window-named")).command(ci::settingsShow);
    for (std::uint8_t which = 0; which < 4; ++which) named.settings(0, which).drain();
    named.command(ci::settingsTab).pooled(Word::settings);
    for (std::uint8_t which = 4; which < 17; ++which) named.settings(0, which).drain();
    named.settings(5, 1).settings(5, 0).drain();
    auto& pages = settingsUpdate(seed("settings-window-pages")).command(ci::settingsShow);
    for (std::uint8_t which = 0; which < 8; ++which) pages.settings(2, which).drain();
    pages.command(ci::settingsTab).pooled(Word::add).command(ci::settingsTab).pooled(Word::apps).drain();
    auto& rows = settingsUpdate(seed("settings-window-rows")).command(ci::settingsShow);
    for (std::uint8_t which = 0; which < 5; ++which) rows.settings(3, which, app::safari).settings(3, which, app::notes);
    rows.settings(4, 1).settings(4, 0x82, app::notes).settings(5, 1).settings(5, 0).settings(5, 0).drain();
    settingsUpdate(seed("settings-window-type-close")).command(ci::settingsShow).settings(2, 1).settings(6, 0)
        .pooled(1).settings(6, 0).raw("\xff\xfe").settings(7, 1).integer(200).integer(100).settings(7, 2).pooled(0)
        .settings(7, 0).drain().command(ci::settingsShow).command(ci::settingsHide).command(ci::settingsShow);
}

// Sessions whose steps must each produce something: a card that opens and
// each of its buttons, every item of the all-applications menu, the
// settings window shown, every surface captured, Dock writes of each plain
// value.
void outcomes() {
    // Without screen recording the card offers the permission and a relaunch.
    auto& card = seed("card-buttons").slot(StepKind::pointerAtSlot, 0).clock(q::pastHover).clock(q::capturePause);
    for (std::uint8_t button = 0; button < 6; ++button)
        card.kind(StepKind::cardClick).byte(cardButtonByte).byte(button).drain().slot(StepKind::pointerAtSlot, 1)
            .slot(StepKind::pointerAtSlot, 0).clock(q::pastHover);
    seed("card-buttons-granted").kind(StepKind::permission).byte(1).byte(1).slot(StepKind::pointerAtSlot, 0)
        .clock(q::pastHover).clock(q::capturePause).clock(q::second).kind(StepKind::cardClick).byte(cardButtonByte + 5)
        .byte(5).kind(StepKind::cardClick).byte(cardButtonByte).byte(4).kind(StepKind::cardClick)
        .byte(cardButtonByte).byte(0).drain();
    auto& menu = seed("all-menu-each-item");
    for (std::uint8_t item = 0; item < 12; ++item) menu.command(ci::all).menuItem(item).drain();
    auto& hovers = seed("hover-each-slot");
    for (std::uint8_t slot = 0; slot < 3; ++slot)
        hovers.slot(StepKind::pointerAtSlot, slot).clock(q::pastHover).kind(StepKind::pointerElsewhere).byte(0)
            .clock(q::pastHide);
    seed("capture-every-surface").command(ci::settingsShow).slot(StepKind::pointerAtSlot, 0).clock(q::pastHover)
        .command(ci::capture).pooled(desktopFolder).command(ci::capture).pooled(rootFolder).command(ci::settingsHide)
        .command(ci::capture).pooled(documents);
    auto& writes = seed("dock-write-values");
    for (std::uint8_t autohide = 0; autohide < 4; ++autohide)
        for (std::uint8_t delay = 0; delay < 4; ++delay)
            writes.command(ci::dockWrite).byte(3).byte(autohide).byte(delay).command(ci::dockRead);
}

// Dictionary entries: the opening bytes of every step kind and command.
std::vector<std::pair<std::string, std::string>> dictionary() {
    std::vector<std::pair<std::string, std::string>> entries;
    for (std::uint8_t kind = 0; kind < static_cast<std::uint8_t>(StepKind::count); ++kind)
        entries.push_back({"step" + std::to_string(kind), std::string(1, static_cast<char>(stepByteOf(StepKind(kind))))});
    for (std::uint8_t index = 0; index <= ci::fuzzedName; ++index)
        entries.push_back({"command" + std::to_string(index),
                           std::string{static_cast<char>(stepByteOf(StepKind::command)), static_cast<char>(index), 0}});
    for (const char* token : {"{\"command\":\"", "\"args\":{", "\"stop\"", "\"start\"", "\"events\"", "\"launch\"",
                              "\"dockWrite\"", "\"autohide\"", "\"autohide-delay\"", "\"path\":\"/Applications/Safari.app\"",
                              "bplist00", "<plist version=\"1.0\">", "<dict>", "<key>"})
        entries.push_back({"token", token});
    return entries;
}

std::string quoted(const std::string& bytes) {
    std::string out = "\"";
    for (unsigned char c : bytes) {
        char escaped[8];
        if (c == '"' || c == '\\' || c < 0x20 || c >= 0x7F) {
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER [DICTIONARY_FILE]\n", argv[0]);
        return 2;
    }
    commands();
    pointer();
    desktop();
    outcomes();
    fs::create_directories(argv[1]);
    for (const auto& [name, writer] : seeds) {
        std::ofstream out(fs::path(argv[1]) / name, std::ios::binary | std::ios::trunc);
        out << writer.bytes();
    }
    if (argc > 2) {
        std::ofstream out(argv[2], std::ios::trunc);
        out << "# The session target's dictionary, written by orvane_fuzz_seeds: the opening\n"
               "# bytes of every step and command, and tokens of requests and property lists.\n";
        int n = 0;
        for (const auto& [name, bytes] : dictionary()) out << name << "_" << n++ << "=" << quoted(bytes) << "\n";
    }
    std::printf("%zu seeds in %s\n", seeds.size(), argv[1]);
    return 0;
}
