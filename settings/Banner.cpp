#include "settings/Banner.h"

#include "model/EventRecords.h"
#include "settings/ModelAction.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsTexts.h"

namespace orvane {

namespace {

using namespace platform::ui::declarative;
namespace texts = settingsTexts;

constexpr double spacing = 8;
constexpr double padding = 12;
// A long message is cut with an ellipsis rather than pushing the page out of the window.
constexpr int lineLimit = 4;

}  // namespace

std::optional<Node> banner(const std::shared_ptr<SettingsModel>& model) {
    const bool error = !model->failure().empty();
    if (!error && model->message().empty()) return std::nullopt;

    auto close = button("", onModel(model, [](SettingsModel& m) { m.emit(events::dismissMessage()); }),
                        texts::symbol::close)
                     .styled(ButtonStyle::plain)
                     .help(texts::dismissMessage)
                     .accessibility(texts::dismissMessage);
    return hstack({symbol(error ? texts::symbol::warning : texts::symbol::checkmark)
                       .symbolTint(error ? settingsStyle::orange() : settingsStyle::green()),
                   text(error ? model->failure() : model->message()).lines(lineLimit),
                   spacer(), std::move(close)},
                  spacing, Alignment::top)
        .font(textSize::callout)
        .padded(padding)
        .backed(settingsStyle::quaternaryTint())
        .filling(Alignment::leading);
}

}  // namespace orvane
