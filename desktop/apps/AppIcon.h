#pragma once

// File icons of the simulated Mac, as the workspace gives them: a bundle's
// own AppIcon.png when the disk has one, otherwise a generated icon that still
// tells applications apart (a rounded tile coloured from the path, with the
// first letter of the name).

#include <memory>
#include <string>

namespace platform::ui { class Image; }

namespace desktop {

// name is what the letter comes from; empty: the file's name.
std::shared_ptr<platform::ui::Image> iconForFile(const std::string& path, const std::string& name);

}  // namespace desktop
