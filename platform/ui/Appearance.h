#pragma once

namespace platform::ui {

enum class AppearanceName { aqua, darkAqua };

// The system-wide appearance, which views and windows without their own take.
AppearanceName systemAppearance();

}  // namespace platform::ui
