#!/usr/bin/env python3
"""Plants faults of wrong behaviour in the library, one at a time, in a
scratch copy of the tree, and reports which of them the fuzz corpus replay
catches (the seeds and the regressions run as sessions with every
invariant checked). Each fault is a small edit that compiles and crashes
nothing: it only makes the library do the wrong thing.

    scripts/plant-faults.py [SCRATCH_DIR [NAME...]]   # default /tmp/orvane-faults

With names, only the faults whose description contains one of them are
planted (the unchanged tree is still replayed first).

One build folder is configured once and rebuilt incrementally per fault
(ccache keeps the unchanged files cheap). Prints a Markdown table and exits
1 when any fault goes unnoticed or the unchanged tree does not pass.
"""

import os
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# (name, file, text in the file, text it becomes)
FAULTS = [
    ("dockWrite saves nothing and replies ok", "dock/DockPreferences.cpp",
     "    domain.setValue(autohideKey, storedForm(values[autohideKey]));\n"
     "    domain.setValue(autohideDelayKey, storedForm(values[autohideDelayKey]));\n", ""),
    ("dockWrite swaps the two values", "dock/DockPreferences.cpp",
     "    domain.setValue(autohideKey, storedForm(values[autohideKey]));\n"
     "    domain.setValue(autohideDelayKey, storedForm(values[autohideDelayKey]));\n",
     "    domain.setValue(autohideKey, storedForm(values[autohideDelayKey]));\n"
     "    domain.setValue(autohideDelayKey, storedForm(values[autohideKey]));\n"),
    ("dockWrite always fails \"cannot save\"", "dock/DockPreferences.cpp",
     "if (!domain.synchronize()) return error(errorCode::cannotSave",
     "if (domain.synchronize() || true) return error(errorCode::cannotSave"),
    ("dockWrite drops the delay", "dock/DockPreferences.cpp",
     "    domain.setValue(autohideDelayKey, storedForm(values[autohideDelayKey]));\n", ""),
    ("the menu's settings item emits nothing", "controller/AppActions.cpp",
     "void NativeController::settingsAction() { emit(events::settings()); }",
     "void NativeController::settingsAction() {}"),
    ("the menu's quit item emits nothing", "controller/AppActions.cpp",
     "void NativeController::quitAction() { emit(events::quit()); }",
     "void NativeController::quitAction() {}"),
    ("the menu's pin item emits nothing", "controller/AppActions.cpp",
     "if (auto entry = entryOfItem(item)) emit(events::pin(entry->dictionary()));",
     "(void)item;"),
    ("the card's permission button emits nothing", "strip/HoverCard.cpp",
     "if (auto self = weak.lock()) self->owner_.emit(events::screenPermission());", "(void)weak;"),
    ("the card's reopen button emits nothing", "strip/HoverCard.cpp",
     "if (auto self = weak.lock()) self->owner_.emit(events::relaunch());", "(void)weak;"),
    ("a resting pointer never opens the card", "strip/HoverCard.cpp",
     "if (auto self = weak.lock()) self->show(entry, rect);", "(void)weak;"),
    ("settingsShow does nothing", "bridge/CommandTable.cpp",
     "if (auto* controller = current()) controller->settings().show();", ""),
    ("capture writes nothing", "controller/Capture.cpp",
     "if (!platform::isPath(directory) || !platform::files().exists(directory)) return;", "return;"),
    ("capture skips the card", "controller/Capture.cpp",
     "if (const auto& card = card_->window(); card && card->contentView())",
     "if (const auto& card = card_->window(); false && card)"),
    ("the preview report is always empty", "controller/Snapshot.cpp",
     'out.key("preview").value(preview->report());', 'out.key("preview").value(nlohmann::json::object());'),
    ("the preview's selection points past its windows", "preview/WindowPreview.cpp",
     '{"index", index()},', '{"index", windows_.size()},'),
    ("a launch that finds nothing reports nothing", "controller/AppActions.cpp",
     "        emitError(eventTexts::launchMissingPrefix + entry.name + eventTexts::launchMissingSuffix);\n", ""),
    ("screenRetry's result never comes", "controller/HoverCard.cpp",
     "    emit(events::screenResult(granted));\n", ""),
]


def run(command, **kwargs):
    return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kwargs)


def copy_tree(root, copy):
    """Copies the tracked and new files of the tree, leaving files whose bytes
    have not changed untouched, so that the scratch build stays incremental."""
    listed = run(["git", "-C", root, "ls-files", "--cached", "--others", "--exclude-standard"])
    if listed.returncode:
        sys.exit("cannot list the tree: " + listed.stdout)
    for name in listed.stdout.splitlines():
        if name.startswith(("build", "out/")) or not os.path.isfile(os.path.join(root, name)):
            continue
        with open(os.path.join(root, name), "rb") as f:
            data = f.read()
        target = os.path.join(copy, name)
        if os.path.exists(target):
            with open(target, "rb") as f:
                if f.read() == data:
                    continue
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(data)
        shutil.copymode(os.path.join(root, name), target)


def main():
    scratch = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "/tmp/orvane-faults")
    source = os.path.join(scratch, "src")
    build = os.path.join(scratch, "build")
    os.makedirs(scratch, exist_ok=True)
    copy_tree(ROOT, source)
    if not os.path.exists(os.path.join(build, "build.ninja")):
        configure = run(["cmake", "-S", source, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                         "-DORVANE_BENCH=OFF", "-DORVANE_TESTS=OFF"])
        if configure.returncode:
            sys.exit("cannot configure the scratch build:\n" + configure.stdout)
    replay = [os.path.join(build, "orvane_fuzz_replay"), os.path.join(source, "fuzz/corpus-seed"),
              os.path.join(source, "fuzz/regressions")]

    def build_and_replay():
        built = run(["cmake", "--build", build, "-j", "2", "--target", "orvane_fuzz_replay"])
        if built.returncode:
            return None, built.stdout[-2000:]
        replayed = run(replay)
        lines = [l for l in replayed.stdout.splitlines() if l.startswith("broken: ")]
        return replayed.returncode != 0, (lines[0].split(": ", 2)[-1] if lines else replayed.stdout.strip()[-200:])

    clean, detail = build_and_replay()
    if clean is None or clean:
        sys.exit("the unchanged tree does not pass its own corpus: " + detail)

    chosen = sys.argv[2:]
    rows = []
    for name, path, old, new in FAULTS:
        if chosen and not any(word in name for word in chosen):
            continue
        file = os.path.join(source, path)
        with open(file, encoding="utf-8") as f:
            original = f.read()
        if original.count(old) != 1:
            rows.append((name, path, "not planted: the code it edits has changed"))
            continue
        with open(file, "w", encoding="utf-8") as f:
            f.write(original.replace(old, new))
        try:
            caught, detail = build_and_replay()
        finally:
            with open(file, "w", encoding="utf-8") as f:
                f.write(original)
        if caught is None:
            rows.append((name, path, "does not build: " + detail.splitlines()[-1] if detail else "does not build"))
        else:
            rows.append((name, path, ("caught: " if caught else "MISSED") + (detail[:160] if caught else "")))
        print(f"{name}: {rows[-1][2]}", file=sys.stderr, flush=True)
    # Leave the scratch build matching the tree again.
    run(["cmake", "--build", build, "-j", "2", "--target", "orvane_fuzz_replay"])

    print("| planted fault | file | corpus replay |")
    print("|---|---|---|")
    for name, path, outcome in rows:
        print(f"| {name} | `{path}` | {outcome.replace('|', '/')} |")
    missed = sum(1 for _, _, outcome in rows if not outcome.startswith("caught"))
    print(f"\n{len(rows) - missed} of {len(rows)} faults caught")
    sys.exit(1 if missed else 0)


if __name__ == "__main__":
    main()
