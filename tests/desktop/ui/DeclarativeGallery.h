#pragma once

// Sample declarative trees that use every node kind, shaped like the pages of
// a settings window, for the toolkit's rendering and driving tests.

#include <string>
#include <vector>

#include "platform/ui/Declarative.h"

namespace orvane::test {

// What the sample pages' controls did, in order ("press 导入当前 Dock",
// "toggle 居中 true", "pick Safari always", "step 6", "type …", "tab add").
struct GalleryLog {
    std::vector<std::string> events;
};

// A split view with a sidebar, toolbar, banner and a pinned-apps list of
// `rows` rows (alternating, with icon, two-line button, picker and icon buttons).
platform::ui::declarative::Node galleryAppsPage(GalleryLog& log, int rows, const std::string& tab = "apps");
// A split view whose detail is a grouped form with toggles, a stepper,
// permission rows, labeled content and buttons.
platform::ui::declarative::Node galleryFormPage(GalleryLog& log);
// A split view whose detail is a search box above a lazy list of `rows`
// catalogue rows, or the no-results view, or a progress indicator.
enum class CatalogueState { rows, empty, loading };
platform::ui::declarative::Node galleryCataloguePage(GalleryLog& log, int rows, CatalogueState state, const std::string& query);

}  // namespace orvane::test
