#include "docgen/DocTables.h"

#include <string_view>

#include "bridge/CommandTable.h"
#include "desktop/scripting/VerbTable.h"
#include "docgen/SampleReplies.h"
#include "host/HostOptions.h"
#include "model/EventKinds.h"

namespace docgen {
namespace {

// A table cell: a pipe would end the cell, a line break the row.
std::string cell(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '|') out += "\\|";
        else if (c == '\n') out += ' ';
        else out += c;
    }
    return out;
}

std::string code(std::string_view text) { return "`" + cell(text) + "`"; }

std::string row(std::initializer_list<std::string> cells) {
    std::string line = "|";
    for (const auto& c : cells) line += " " + c + " |";
    return line + "\n";
}

std::string commands() {
    std::string out = row({"Command", "Arguments", "What it does"}) + "|---|---|---|\n";
    for (const auto& command : orvane::commandTable())
        out += row({code(command.name), cell(command.arguments), cell(command.summary)});
    return out;
}

// "`key` (string), `value` (boolean)", or "none" for a record of its kind alone.
std::string furtherKeys(const std::vector<orvane::EventKey>& keys) {
    if (keys.empty()) return "none";
    std::string out;
    for (const auto& key : keys) {
        if (!out.empty()) out += ", ";
        out += code(key.name) + " (" + cell(key.what) + ")";
    }
    return out;
}

std::string events() {
    std::string out = row({"`kind`", "Further keys", "Queued when"}) + "|---|---|---|\n";
    for (const auto& kind : orvane::eventKinds()) out += row({code(kind.name), furtherKeys(kind.keys), cell(kind.when)});
    return out;
}

std::string flags() {
    std::string out = row({"Flag", "What it does"}) + "|---|---|\n";
    for (const auto& flag : host::hostFlags()) {
        std::string written(flag.flag);
        if (!flag.value.empty()) written += " " + std::string(flag.value);
        out += row({code(written), cell(flag.help)});
    }
    return out;
}

std::string verbs() {
    std::string out = row({"Verb", "What it does"}) + "|---|---|\n";
    for (const auto& verb : desktop::verbTable()) out += row({code("!" + std::string(verb.usage)), cell(verb.help)});
    return out;
}

std::string beginMarker(const std::string& name) { return "<!-- " + name + ":begin -->\n"; }
std::string endMarker(const std::string& name) { return "<!-- " + name + ":end -->"; }

struct Span {
    std::size_t start;  // first character after the begin marker
    std::size_t end;    // first character of the end marker
};

std::optional<Span> find(const std::string& text, const std::string& name) {
    const auto begin = text.find(beginMarker(name));
    if (begin == std::string::npos) return std::nullopt;
    const auto start = begin + beginMarker(name).size();
    const auto end = text.find(endMarker(name), start);
    if (end == std::string::npos) return std::nullopt;
    return Span{start, end};
}

}  // namespace

std::vector<Block> generatedBlocks() {
    return {{"commands", commands()}, {"samples", sampleReplies()}, {"snapshot-sample", sampleSnapshot()},
            {"events", events()},     {"flags", flags()},           {"verbs", verbs()}};
}

std::optional<std::string> blockContent(const std::string& text, const std::string& name) {
    const auto span = find(text, name);
    if (!span) return std::nullopt;
    return text.substr(span->start, span->end - span->start);
}

std::optional<std::string> withGeneratedBlocks(const std::string& text, std::string& missing) {
    std::string out = text;
    for (const auto& block : generatedBlocks()) {
        const auto span = find(out, block.name);
        if (!span) {
            missing = block.name;
            return std::nullopt;
        }
        out.replace(span->start, span->end - span->start, block.content);
    }
    return out;
}

}  // namespace docgen
