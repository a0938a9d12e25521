#include "settings/Banner.h"

#include "settings/ModelAction.h"
#include "settings/Nodes.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsTexts.h"

namespace orvane {

namespace {

using namespace nodes;
namespace texts = settingsTexts;

constexpr double spacing = 8;
constexpr double padding = 12;
// A long message is cut with an ellipsis rather than pushing the page out of the window.
constexpr int lineLimit = 4;

}  // namespace

std::optional<Node> banner(const std::shared_ptr<SettingsModel>& model) {
    const bool error = !model->failure().empty();
    if (!error && model->message().empty()) return std::nullopt;

    Node glyph = symbol(error ? texts::symbol::warning : texts::symbol::checkmark);
    glyph.symbolColor = error ? settingsStyle::orange() : settingsStyle::green();
    glyph.fontSize = textSize::callout;

    Node words = text(error ? model->failure() : model->message()).font(textSize::callout);
    words.lineLimit = lineLimit;

    Node close = symbolButton(texts::symbol::close, texts::dismissMessage,
                              onModel(model, [](SettingsModel& m) { m.action(texts::kind::dismissMessage); }))
                     .styled(ButtonStyle::plain)
                     .help(texts::dismissMessage);

    return hstack(Alignment::top, spacing, std::move(glyph), std::move(words), spacer(), std::move(close))
        .padded(padding)
        .backed(settingsStyle::quaternaryTint());
}

}  // namespace orvane
