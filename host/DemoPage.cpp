#include "host/DemoPage.h"

#include <sstream>

namespace host {

namespace {

constexpr const char* style = R"(
body { font: 15px -apple-system, "Noto Sans CJK SC", "Helvetica Neue", sans-serif; margin: 0; background: #f5f5f7; color: #1d1d1f; }
header { padding: 28px 40px 12px; }
h1 { font-size: 26px; margin: 0 0 6px; }
nav { padding: 0 40px 16px; line-height: 1.9; }
nav a { margin-right: 14px; color: #0066cc; text-decoration: none; white-space: nowrap; }
section { background: #fff; margin: 0 40px 28px; padding: 20px 24px; border-radius: 12px; box-shadow: 0 1px 3px rgba(0,0,0,.08); }
h2 { font-size: 20px; margin: 0 0 6px; }
p.note { color: #515154; margin: 0 0 14px; }
figure { margin: 0 0 18px; }
figure img { display: block; max-width: 100%; height: auto; border: 1px solid #d2d2d7; border-radius: 8px; }
figure.closeup figcaption { font-size: 15px; color: #1d1d1f; margin-top: 8px; max-width: 980px; }
figure.screen img { width: 100%; max-width: 1512px; }
figcaption { font-size: 13px; color: #6e6e73; margin-top: 6px; }
.surfaces { display: flex; flex-wrap: wrap; gap: 16px; align-items: flex-start; margin: 14px 0; }
.surfaces figure { margin: 0; }
.surfaces img { max-width: 360px; max-height: 300px; background: repeating-conic-gradient(#eee 0 25%, #fff 0 50%) 0 0 / 16px 16px; }
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

namespace {

std::string figureHtml(const DemoFigure& figure, const char* kind) {
    std::ostringstream html;
    html << "<figure class=\"" << kind << "\"><img src=\"" << htmlEscaped(figure.source) << "\"";
    if (figure.width > 0) html << " width=\"" << figure.width << "\"";
    html << " alt=\"" << htmlEscaped(figure.caption) << "\"><figcaption>" << htmlEscaped(figure.caption)
         << "</figcaption></figure>\n";
    return html.str();
}

}  // namespace

std::string demoPage(const std::string& title, const std::vector<DemoStep>& steps) {
    std::ostringstream page;
    page << "<!DOCTYPE html>\n<html lang=\"zh-Hans\">\n<head>\n<meta charset=\"utf-8\">\n"
         << "<title>" << htmlEscaped(title) << "</title>\n<style>" << style << "</style>\n</head>\n<body>\n"
         << "<header><h1>" << htmlEscaped(title) << "</h1>"
         << "<p class=\"note\">Each step shows first what it is about, enlarged and with what to look at; "
            "below it the whole simulated screen, the pictures the library saved of its own surfaces, the lines "
            "the host sent and the snapshot that followed. The last steps run again in dark appearance.</p></header>\n<nav>";
    for (std::size_t i = 0; i < steps.size(); ++i)
        page << "<a href=\"#step-" << i + 1 << "\">" << i + 1 << ". " << htmlEscaped(steps[i].title) << "</a>";
    page << "</nav>\n";
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const auto& step = steps[i];
        page << "<section id=\"step-" << i + 1 << "\">\n<h2>" << i + 1 << ". " << htmlEscaped(step.title) << "</h2>\n"
             << "<p class=\"note\">" << htmlEscaped(step.note) << "</p>\n";
        for (const auto& figure : step.closeUps) page << figureHtml(figure, "closeup");
        if (!step.screen.source.empty()) page << figureHtml(step.screen, "screen");
        if (!step.surfaces.empty()) {
            page << "<details><summary>What the library saved of its surfaces</summary><div class=\"surfaces\">";
            for (const auto& surface : step.surfaces)
                page << "<figure><img src=\"" << htmlEscaped(surface) << "\" alt=\"" << htmlEscaped(surface)
                     << "\"><figcaption>" << htmlEscaped(surface) << "</figcaption></figure>";
            page << "</div></details>\n";
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
