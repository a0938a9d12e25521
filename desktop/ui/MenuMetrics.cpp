// The simulated Mac's menu measurements: item rows, the icon column and the
// pop-up placement that lines the chosen item up with its button.

#include "desktop/ui/MenuMetrics.h"

#include "platform/ui/Menu.h"

namespace desktop::ui::menu {

double itemHeightOf(const platform::ui::MenuItem& item) { return item.isSeparator() ? separatorHeight : itemHeight; }

double textLeft(bool anyImage) { return leadingInset + (anyImage ? iconSize + 6 : 0); }

platform::Point popUpMenuTopLeft(const platform::ui::Menu& menu, std::size_t chosen, platform::Rect button, double titleInset) {
    bool anyImage = false;
    double above = verticalPadding;
    std::size_t index = 0;
    for (const auto& item : menu.items()) {
        if (!item) continue;
        anyImage = anyImage || (!item->isSeparator() && item->image);
        if (index++ < chosen) above += itemHeightOf(*item);
    }
    return {button.minX() + titleInset - textLeft(anyImage), button.midY() + above + itemHeight / 2};
}

}  // namespace desktop::ui::menu
