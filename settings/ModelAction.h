#pragma once

#include <memory>
#include <utility>

#include "settings/SettingsModel.h"

namespace orvane {

// Wraps a control's action so that it reaches the model weakly: a tree that
// outlives its model (kept by a view that is being torn down) does nothing.
// The result converts to the toolkit's action types; body receives the model
// first, then the control's arguments.
template <typename Body>
auto onModel(const std::shared_ptr<SettingsModel>& model, Body body) {
    return [weak = std::weak_ptr<SettingsModel>(model), body = std::move(body)](auto&&... arguments) {
        if (auto strong = weak.lock()) body(*strong, std::forward<decltype(arguments)>(arguments)...);
    };
}

}  // namespace orvane
