// The hosting view of the declarative toolkit, standing in for the view that
// hosts the platform's declarative pages in a window: it lays its tree out
// when something changed, draws it, keeps each control in view as a subview
// carrying its tool tip and accessibility label, and turns clicks, scrolling,
// typing and the accessibility press of a named control into the nodes'
// actions. Scroll positions and the focused field are kept by the node's
// position in the tree, so rebuilding the tree from the model keeps them.

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <unordered_map>

#include "desktop/ui/CharacterBoundaries.h"
#include "desktop/ui/ControlActions.h"
#include "desktop/ui/ControlNames.h"
#include "desktop/ui/DeclarativeDrawing.h"
#include "desktop/ui/DeclarativeLayout.h"
#include "desktop/ui/DeclarativeStyle.h"
#include "desktop/ui/TextMeasurer.h"
#include "platform/Utf8.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Declarative.h"
#include "platform/ui/Image.h"
#include "platform/ui/Window.h"

namespace platform::ui {
namespace {

using declarative::Control;
using declarative::Kind;
using declarative::Node;
using declarative::Outcome;
using desktop::ui::findInTree;
using desktop::ui::LayoutResult;
using desktop::ui::namedBy;
using desktop::ui::PlacedControl;
using desktop::ui::roleName;
using desktop::ui::ScrollArea;
using Role = Control::Role;

const std::string noLabel;
// How far down a lazy list a named control is looked for.
constexpr std::size_t maximumRowsSearched = 100000;

Rect intersection(Rect a, Rect b) {
    double x0 = std::max(a.minX(), b.minX()), y0 = std::max(a.minY(), b.minY());
    double x1 = std::min(a.maxX(), b.maxX()), y1 = std::min(a.maxY(), b.maxY());
    return {x0, y0, std::max(x1 - x0, 0.0), std::max(y1 - y0, 0.0)};
}

class HostingViewImpl;

// A control in view, as the window's view tree knows it: it carries the
// control's tool tip, accessibility label and role, and hands clicks to the
// hosting view, which draws it.
class HostedControlView final : public View {
public:
    HostedControlView(Rect frame, std::weak_ptr<HostingViewImpl> host) : View(frame), host_(std::move(host)) {}
    void mouseDown(const Event& event) override;

private:
    std::weak_ptr<HostingViewImpl> host_;
};

class HostingViewImpl final : public HostingView {
public:
    explicit HostingViewImpl(Rect frame) : HostingView(frame) {}

    void setRoot(Node root) override {
        root_ = std::move(root);
        // The rows kept for their keys act as the tree before this one built them.
        if (engine_) engine_->reused().forgetRows();
        declareToolbar();
        invalidate();
    }
    const Node& root() const override { return root_; }

    bool replace(const std::string& id, Node node) override {
        if (id.empty() || layoutIsStale()) return false;
        const desktop::ui::Region* region = regionNamed(id);
        if (!region || !engine().takesSameRoom(*region, node)) return false;
        node.id = id;
        *region->node = std::move(node);
        markForLayout(region->path);
        return true;
    }

    long long layoutCount() const override { return layoutCount_; }
    long long partialLayoutCount() const override { return partialLayoutCount_; }
    std::size_t listRowsLaidOut() const override { return layout_.rowsLaidOut; }
    std::size_t listRowsBuilt() const override { return layout_.rowsBuilt; }
    std::size_t listRowsDrawn() const override { return rowsDrawn_; }
    std::size_t subtreesReused() const override { return layout_.subtreesReused; }
    void discardReusedLayouts() override { engine().reused().clear(); }

    void layoutIfNeeded() override {
        if (layoutIsStale()) {
            needsLayout_ = false;
            pendingRegions_.clear();
            laidOutAppearance_ = effectiveAppearance();
            laidOutSize_ = bounds().size;
            layout_ = engine().run(root_, laidOutSize_);
            ++layoutCount_;
        } else if (!pendingRegions_.empty()) {
            layOutPendingRegions();
            ++partialLayoutCount_;
        } else {
            return;
        }
        for (const ScrollArea& area : layout_.scrollAreas) offsets_[area.path] = area.offset;
        updateControlViews();
    }

    std::vector<Control> controls() override {
        layoutIfNeeded();
        std::vector<Control> out;
        for (const PlacedControl& pc : layout_.controls) {
            Rect visible = intersection(intersection(pc.info.frame, pc.clip), bounds());
            if (visible.isEmpty()) continue;
            Control c = pc.info;
            c.frame = flip(visible);
            out.push_back(std::move(c));
        }
        return out;
    }

    bool pressControl(const std::string& label) override { return press(label) == Outcome::done; }

    Outcome press(const std::string& label) override {
        Outcome why = Outcome::notFound;
        auto pc = locate(label, [](Role r) { return r != Role::stepper; }, why);
        if (!pc) return why;
        activate(*pc);
        return Outcome::done;
    }

    Outcome pick(const std::string& label, const std::string& option) override {
        Outcome why = Outcome::notFound;
        auto pc = locate(label, [](Role r) { return r == Role::picker; }, why);
        if (!pc) return why;
        return desktop::ui::chooseOption(*pc, option) ? Outcome::done : Outcome::noSuchOption;
    }

    Outcome stepControl(const std::string& label, int direction) override {
        Outcome why = Outcome::notFound;
        auto pc = locate(label, [](Role r) { return r == Role::stepper; }, why);
        if (!pc) return why;
        return desktop::ui::stepBy(*pc, direction) ? Outcome::done : Outcome::atLimit;
    }

    bool typeText(const std::string& text) override {
        if (!isValidUtf8(text)) return false;
        return editFocusedField([&](std::string& field) {
            field += text;
            return true;
        });
    }

    bool deleteBackward(int count) override {
        return editFocusedField([&](std::string& field) {
            const std::size_t before = field.size();
            field.erase(desktop::ui::startOfLastCharacters(field, count));
            return field.size() != before;
        });
    }

    // Edits the focused text field's text (edit answers whether it changed
    // it) and tells the field's owner the new value; false when no enabled
    // text field has the focus.
    template <typename Edit>
    bool editFocusedField(Edit edit) {
        layoutIfNeeded();
        for (const PlacedControl& pc : layout_.controls) {
            if (pc.path != focused_ || pc.info.role != Role::textField) continue;
            if (!pc.info.enabled) return false;
            if (!edit(pc.node->text)) return true;
            std::string value = pc.node->text;
            auto changed = pc.node->changed;
            invalidate(*pc.node);
            if (changed) changed(value);
            return true;
        }
        return false;
    }

    void draw(Canvas& canvas) override {
        layoutIfNeeded();
        canvas.fillRect(bounds(), Color::windowBackground());
        rowsDrawn_ = desktop::ui::drawPaints(canvas, layout_.paints, bounds().height());
    }

    std::shared_ptr<View> hitTest(Point pointInSuperview) override {
        layoutIfNeeded();
        return View::hitTest(pointInSuperview);
    }

    void scrollWheel(const Event& event) override {
        layoutIfNeeded();
        Point local = convertFromWindow(event.locationInWindow);
        Point p{local.x, bounds().height() - local.y};
        const ScrollArea* target = nullptr;
        for (const ScrollArea& area : layout_.scrollAreas)
            if (area.viewport.contains(p)) target = &area;
        if (!target) {
            View::scrollWheel(event);
            return;
        }
        double delta = event.hasPreciseScrollingDeltas ? event.scrollingDeltaY
                                                       : event.scrollingDeltaY * desktop::ui::style::lineScroll;
        if (!std::isfinite(delta)) return;
        double limit = std::max(target->contentHeight - target->viewport.height(), 0.0);
        double offset = std::clamp(target->offset - delta, 0.0, limit);
        if (offset == target->offset) return;
        offsets_[target->path] = offset;
        invalidate();
        layoutIfNeeded();
    }

    void viewDidMoveToWindow() override {
        declareToolbar();
        invalidate();
    }

    // A click at a point of the view (bottom-left origin) on a control's subview.
    void controlClicked(Point local) {
        layoutIfNeeded();
        Point p{local.x, bounds().height() - local.y};
        for (std::size_t i = layout_.controls.size(); i-- > 0;) {
            const PlacedControl& pc = layout_.controls[i];
            if (!intersection(pc.info.frame, pc.clip).contains(p)) continue;
            // A disabled control takes the click and does nothing with it.
            if (!pc.info.enabled) return;
            PlacedControl hit = pc;
            if (hit.info.role == Role::stepper) {
                if (hit.upArrow.contains(p)) desktop::ui::stepBy(hit, 1);
                else if (hit.downArrow.contains(p)) desktop::ui::stepBy(hit, -1);
                return;
            }
            activate(hit);
            return;
        }
    }

private:
    Rect flip(Rect r) const { return {r.minX(), bounds().height() - r.minY() - r.height(), r.width(), r.height()}; }

    // A split view brings the window's toolbar, as toolbar items in a
    // declarative page do.
    void declareToolbar() {
        if (auto w = window(); w && root_.kind == Kind::splitView) w->setHasToolbar(true);
    }

    void invalidate() {
        needsLayout_ = true;
        setNeedsDisplay();
    }

    // A node edited in place: only its region when it has one, else the tree.
    void invalidate(const Node& node) {
        if (!layoutIsStale())
            for (const desktop::ui::Region& region : layout_.regions)
                if (region.node == &node) return markForLayout(region.path);
        invalidate();
    }

    void markForLayout(const std::string& path) {
        if (std::find(pendingRegions_.begin(), pendingRegions_.end(), path) == pendingRegions_.end()) pendingRegions_.push_back(path);
        setNeedsDisplay();
    }

    bool layoutIsStale() const {
        return needsLayout_ || effectiveAppearance() != laidOutAppearance_ || bounds().size != laidOutSize_;
    }

    // One layout engine per appearance, kept so that its tables are reused from pass to pass.
    desktop::ui::DeclarativeLayout& engine() {
        if (!engine_ || engineAppearance_ != laidOutAppearance_) {
            engine_ = std::make_unique<desktop::ui::DeclarativeLayout>(desktop::ui::TextMeasurer::shared(), laidOutAppearance_,
                                                                       offsets_, focused_, icons_);
            engineAppearance_ = laidOutAppearance_;
        }
        return *engine_;
    }

    const desktop::ui::Region* regionNamed(const std::string& id) const {
        for (const desktop::ui::Region& region : layout_.regions)
            if (region.id == id) return &region;
        return nullptr;
    }

    // The replaced nodes, each in the room its predecessor had; the rest of
    // the layout stays as it is.
    void layOutPendingRegions() {
        std::size_t rows = 0, built = 0, reused = 0;
        for (const std::string& path : pendingRegions_) {
            for (std::size_t i = 0; i < layout_.regions.size(); ++i) {
                if (layout_.regions[i].path != path) continue;
                LayoutResult part = engine().runRegion(layout_.regions[i]);
                rows += part.rowsLaidOut;
                built += part.rowsBuilt;
                reused += part.subtreesReused;
                desktop::ui::splice(layout_, i, std::move(part));
                break;
            }
        }
        pendingRegions_.clear();
        layout_.rowsLaidOut = rows;
        layout_.rowsBuilt = built;
        layout_.subtreesReused = reused;
    }

    // The subviews standing for the controls in view are kept and given the
    // controls' new frames and names, as a table view reuses its cells;
    // only the count decides whether views are added or removed.
    void updateControlViews() {
        std::size_t used = 0;
        for (const PlacedControl& pc : layout_.controls) {
            Rect visible = intersection(intersection(pc.info.frame, pc.clip), bounds());
            if (visible.isEmpty()) continue;
            View* view;
            if (used < subviews().size()) {
                view = subviews()[used].get();
                view->setFrame(flip(visible));
            } else {
                auto self = std::static_pointer_cast<HostingViewImpl>(shared_from_this());
                auto made = std::make_shared<HostedControlView>(flip(visible), self);
                addSubview(made);
                view = made.get();
            }
            ++used;
            const std::string& label = pc.node->accessibilityHidden ? noLabel : pc.info.accessibilityLabel;
            if (view->toolTip() != pc.info.toolTip) view->setToolTip(pc.info.toolTip);
            if (view->accessibilityLabel() != label) view->setAccessibilityLabel(label);
            if (view->accessibilityRole() != roleName(pc.info.role)) view->setAccessibilityRole(roleName(pc.info.role));
        }
        while (subviews().size() > used) subviews().back()->removeFromSuperview();
    }

    bool inView(const PlacedControl& pc) const {
        Point centre{pc.info.frame.midX(), pc.info.frame.midY()};
        return intersection(pc.clip, bounds()).contains(centre);
    }

    const ScrollArea* area(const std::string& path) const {
        for (const ScrollArea& a : layout_.scrollAreas)
            if (a.path == path) return &a;
        return nullptr;
    }

    std::optional<PlacedControl> byPath(const std::string& path) const {
        for (const PlacedControl& pc : layout_.controls)
            if (pc.path == path) return pc;
        return std::nullopt;
    }

    // The first enabled control so named, scrolled into view (a lazy list's
    // row is built and scrolled to); why tells what went wrong otherwise.
    std::optional<PlacedControl> locate(const std::string& label, const std::function<bool(Role)>& accepts, Outcome& why) {
        layoutIfNeeded();
        bool disabled = false;
        auto matches = [&](const PlacedControl& pc) {
            return accepts(pc.info.role) && namedBy(label, pc.info.text, pc.info.accessibilityLabel, pc.placeholder);
        };
        for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
            const PlacedControl& pc = layout_.controls[i];
            if (!matches(pc)) continue;
            if (!pc.info.enabled) {
                disabled = true;
                continue;
            }
            if (inView(pc)) return pc;
            std::string path = pc.path;
            if (const ScrollArea* a = area(pc.scrollPath)) {
                offsets_[a->path] = a->offset + (pc.info.frame.midY() - a->viewport.midY());
                invalidate();
                layoutIfNeeded();
            }
            if (auto again = byPath(path)) return again;
            return std::nullopt;
        }
        // Rows of lazy lists that are not built yet.
        std::vector<ScrollArea> lists;
        for (const ScrollArea& a : layout_.scrollAreas)
            if (a.list && a.list->rowAt) lists.push_back(a);
        for (const ScrollArea& a : lists) {
            for (std::size_t row = 0; row < std::min(a.list->rowCount, maximumRowsSearched); ++row) {
                std::string prefix = a.path + "." + std::to_string(row) + ".";
                bool built = std::any_of(layout_.controls.begin(), layout_.controls.end(),
                                         [&](const PlacedControl& pc) { return pc.path.rfind(prefix, 0) == 0; });
                if (built) continue;
                Node candidate;
                try {
                    candidate = a.list->rowAt(row);
                } catch (...) {
                    continue;
                }
                int found = findInTree(candidate, label, accepts, false);
                if (found == -1) disabled = true;
                if (found != 1) continue;
                offsets_[a.path] = a.rowsTop + a.rowHeight * static_cast<double>(row) - (a.viewport.height() - a.rowHeight) / 2;
                invalidate();
                layoutIfNeeded();
                for (const PlacedControl& pc : layout_.controls)
                    if (pc.path.rfind(prefix, 0) == 0 && matches(pc) && pc.info.enabled) return pc;
                why = Outcome::notFound;
                return std::nullopt;
            }
        }
        why = disabled ? Outcome::disabled : Outcome::notFound;
        return std::nullopt;
    }

    // What a click on the control does.
    void activate(const PlacedControl& pc) {
        if (desktop::ui::runAction(pc)) return;
        if (pc.info.role == Role::textField) {
            focused_ = pc.path;
            invalidate();
        } else if (pc.info.role == Role::picker) {
            desktop::ui::popUpOptions(pc, flip(pc.info.frame), shared_from_this());
        }
    }

    Node root_;
    LayoutResult layout_;
    bool needsLayout_ = true;
    AppearanceName laidOutAppearance_ = AppearanceName::aqua;
    Size laidOutSize_;
    long long layoutCount_ = 0;
    long long partialLayoutCount_ = 0;
    // Paths of regions whose nodes were replaced since the last layout.
    std::vector<std::string> pendingRegions_;
    std::map<std::string, double> offsets_;
    std::string focused_;
    std::size_t rowsDrawn_ = 0;
    std::unordered_map<std::string, std::shared_ptr<Image>> icons_;
    // Last, as it refers to the scroll offsets, the focus and the icons above.
    std::unique_ptr<desktop::ui::DeclarativeLayout> engine_;
    AppearanceName engineAppearance_ = AppearanceName::aqua;
};

void HostedControlView::mouseDown(const Event& event) {
    auto host = host_.lock();
    if (!host) return;
    host->controlClicked(host->convertFromWindow(event.locationInWindow));
}

}  // namespace

std::shared_ptr<HostingView> HostingView::create(Rect frame) { return std::make_shared<HostingViewImpl>(frame); }

}  // namespace platform::ui
