#pragma once

#include <memory>

namespace orvane {

class NativeController;

// The one process-wide controller: filled by start, emptied by stop, and
// only ever touched on the main thread. It is deliberately never destroyed
// at exit, when the platform it would tear down may already be gone.
inline std::shared_ptr<NativeController>& controllerSlot() {
    static auto* slot = new std::shared_ptr<NativeController>();
    return *slot;
}

}  // namespace orvane
