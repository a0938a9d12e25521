#pragma once

// The few node constructors the settings pages are written with, so that a
// page reads as its structure: vstack(leading, 6, text(...), button(...)).

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Declarative.h"

namespace orvane::nodes {

using platform::ui::declarative::Alignment;
using platform::ui::declarative::ButtonStyle;
using platform::ui::declarative::FrameSpec;
using platform::ui::declarative::Insets;
using platform::ui::declarative::Kind;
using platform::ui::declarative::Node;
namespace textSize = platform::ui::declarative::textSize;

Node make(Kind kind);

Node text(std::string content);
// A text with a leading symbol.
Node label(std::string title, std::string symbol);
Node symbol(std::string name);
Node spacer();
Node divider();

// A button titled with text; with a symbol too when one is given.
Node button(std::string title, std::function<void()> action, std::string symbol = {});
// A button whose label is only a symbol; the accessibility label names it.
Node symbolButton(std::string symbol, std::string accessibilityLabel, std::function<void()> action);
Node toggle(std::string title, bool isOn, std::function<void(bool)> toggled);

template <typename... Children>
Node stack(Kind kind, Alignment alignment, double spacing, Children&&... children) {
    Node node = make(kind);
    node.alignment = alignment;
    node.spacing = spacing;
    node.children.reserve(sizeof...(children));
    (node.children.push_back(std::forward<Children>(children)), ...);
    return node;
}

template <typename... Children>
Node vstack(Alignment alignment, double spacing, Children&&... children) {
    return stack(Kind::vstack, alignment, spacing, std::forward<Children>(children)...);
}

template <typename... Children>
Node hstack(Alignment alignment, double spacing, Children&&... children) {
    return stack(Kind::hstack, alignment, spacing, std::forward<Children>(children)...);
}

// A stack of children built elsewhere.
Node vstack(Alignment alignment, double spacing, std::vector<Node> children);
Node hstack(Alignment alignment, double spacing, std::vector<Node> children);

}  // namespace orvane::nodes
