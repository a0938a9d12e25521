#include "settings/Nodes.h"

namespace orvane::nodes {

Node make(Kind kind) {
    Node node;
    node.kind = kind;
    return node;
}

Node text(std::string content) {
    Node node = make(Kind::text);
    node.text = std::move(content);
    return node;
}

Node label(std::string title, std::string symbolName) {
    Node node = make(Kind::label);
    node.text = std::move(title);
    node.symbol = std::move(symbolName);
    return node;
}

Node symbol(std::string name) {
    Node node = make(Kind::symbol);
    node.symbol = std::move(name);
    return node;
}

Node spacer() { return make(Kind::spacer); }

Node divider() { return make(Kind::divider); }

Node button(std::string title, std::function<void()> action, std::string symbolName) {
    Node node = make(Kind::button);
    node.text = std::move(title);
    node.symbol = std::move(symbolName);
    node.action = std::move(action);
    return node;
}

Node symbolButton(std::string symbolName, std::string accessibilityLabel, std::function<void()> action) {
    Node node = make(Kind::button);
    node.symbol = std::move(symbolName);
    node.accessibilityLabel = std::move(accessibilityLabel);
    node.action = std::move(action);
    return node;
}

Node toggle(std::string title, bool isOn, std::function<void(bool)> toggled) {
    Node node = make(Kind::toggle);
    node.text = std::move(title);
    node.isOn = isOn;
    node.toggled = std::move(toggled);
    return node;
}

Node vstack(Alignment alignment, double spacing, std::vector<Node> children) {
    Node node = make(Kind::vstack);
    node.alignment = alignment;
    node.spacing = spacing;
    node.children = std::move(children);
    return node;
}

Node hstack(Alignment alignment, double spacing, std::vector<Node> children) {
    Node node = make(Kind::hstack);
    node.alignment = alignment;
    node.spacing = spacing;
    node.children = std::move(children);
    return node;
}

}  // namespace orvane::nodes
