#include "host/DemoPage.h"

#include <sstream>

namespace host {

namespace {

constexpr const char* style = R"(
body { font: 14px -apple-system, "Noto Sans CJK SC", "Helvetica Neue", sans-serif; margin: 0; background: #f5f5f7; color: #1d1d1f; }
header { padding: 28px 40px 12px; }
h1 { font-size: 26px; margin: 0 0 6px; }
nav { padding: 0 40px 16px; }
nav a { margin-right: 14px; color: #0066cc; text-decoration: none; }
section { background: #fff; margin: 0 40px 28px; padding: 20px 24px; border-radius: 12px; box-shadow: 0 1px 3px rgba(0,0,0,.08); }
h2 { font-size: 19px; margin: 0 0 6px; }
p.note { color: #515154; margin: 0 0 14px; }
img.screen { width: 100%; max-width: 1512px; border-radius: 8px; border: 1px solid #d2d2d7; }
.surfaces { display: flex; flex-wrap: wrap; gap: 16px; align-items: flex-start; margin: 14px 0; }
.surfaces figure { margin: 0; }
.surfaces img { max-width: 520px; max-height: 420px; border: 1px solid #d2d2d7; border-radius: 6px; background: repeating-conic-gradient(#eee 0 25%, #fff 0 50%) 0 0 / 16px 16px; }
figcaption { font-size: 12px; color: #6e6e73; margin-top: 4px; }
pre { background: #f5f5f7; padding: 10px 12px; border-radius: 8px; overflow-x: auto; font: 12px ui-monospace, "DejaVu Sans Mono", monospace; white-space: pre-wrap; word-break: break-all; }
details summary { cursor: pointer; color: #0066cc; margin: 6px 0; }
)";

}  // namespace

std::string htmlEscaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string demoPage(const std::string& title, const std::vector<DemoStep>& steps) {
    std::ostringstream page;
    page << "<!DOCTYPE html>\n<html lang=\"zh-Hans\">\n<head>\n<meta charset=\"utf-8\">\n"
         << "<title>" << htmlEscaped(title) << "</title>\n<style>" << style << "</style>\n</head>\n<body>\n"
         << "<header><h1>" << htmlEscaped(title) << "</h1>"
         << "<p class=\"note\">Each step shows the whole simulated screen, the pictures the library saved "
            "of its own surfaces, the lines the host sent and the snapshot that followed.</p></header>\n<nav>";
    for (std::size_t i = 0; i < steps.size(); ++i)
        page << "<a href=\"#step-" << i + 1 << "\">" << i + 1 << ". " << htmlEscaped(steps[i].title) << "</a>";
    page << "</nav>\n";
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const auto& step = steps[i];
        page << "<section id=\"step-" << i + 1 << "\">\n<h2>" << i + 1 << ". " << htmlEscaped(step.title) << "</h2>\n"
             << "<p class=\"note\">" << htmlEscaped(step.note) << "</p>\n";
        if (!step.screen.empty())
            page << "<img class=\"screen\" src=\"" << htmlEscaped(step.screen) << "\" alt=\"whole screen after step "
                 << i + 1 << "\">\n";
        if (!step.surfaces.empty()) {
            page << "<div class=\"surfaces\">";
            for (const auto& surface : step.surfaces)
                page << "<figure><img src=\"" << htmlEscaped(surface) << "\" alt=\"" << htmlEscaped(surface)
                     << "\"><figcaption>" << htmlEscaped(surface) << "</figcaption></figure>";
            page << "</div>\n";
        }
        page << "<details open><summary>Sent</summary><pre>";
        for (const auto& line : step.lines) page << htmlEscaped(line) << "\n";
        page << "</pre></details>\n<details><summary>Snapshot</summary><pre>" << htmlEscaped(step.snapshot)
             << "</pre></details>\n</section>\n";
    }
    page << "</body>\n</html>\n";
    return page.str();
}

}  // namespace host
