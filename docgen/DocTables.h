#pragma once

// The tables of the guide for hosts that the code holds: commands, event
// kinds, the host's flags and the simulated Mac's verbs, written as Markdown
// between marker comments in docs/hosting.md so that the guide cannot drift.

#include <optional>
#include <string>
#include <vector>

namespace docgen {

struct Block {
    std::string name;     // the markers are <!-- name:begin --> and <!-- name:end -->
    std::string content;  // the lines between them, each ending in a newline
};

// Every generated block, as the code gives it now.
std::vector<Block> generatedBlocks();

// The lines between the markers of the named block; nothing when either
// marker is missing or they are out of order.
std::optional<std::string> blockContent(const std::string& text, const std::string& name);

// The text with every generated block written between its markers; nothing
// (and the block's name in missing) when a block's markers are absent.
std::optional<std::string> withGeneratedBlocks(const std::string& text, std::string& missing);

}  // namespace docgen
