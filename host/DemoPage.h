#pragma once

#include <string>
#include <vector>

namespace host {

// A picture on the page with what to look at in it. A width in page pixels,
// or 0 for the picture's own.
struct DemoFigure {
    std::string source;
    std::string caption;
    int width = 0;
};

// One step of the demo session as the page shows it.
struct DemoStep {
    std::string title;
    std::string note;
    // The lines sent: JSON commands and "!" verbs, in order.
    std::vector<std::string> lines;
    // Picture files relative to the page: what the step is about first, then
    // the whole screen, then every picture the library saved of its surfaces.
    std::vector<DemoFigure> closeUps;
    DemoFigure screen;
    std::vector<std::string> surfaces;
    // The snapshot that followed, pretty-printed.
    std::string snapshot;
};

// A single static page, readable offline straight from disk: no scripts and
// nothing fetched from elsewhere.
std::string demoPage(const std::string& title, const std::vector<DemoStep>& steps);

// Text made safe inside HTML element content and attribute values.
std::string htmlEscaped(const std::string& text);

}  // namespace host
