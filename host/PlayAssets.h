#pragma once

// The page of the playground (host/play/), compiled into orvane-host so that
// `--serve` needs no files beside it; CMake generates the table.

#include <string_view>

namespace host {

struct PlayAsset {
    std::string_view path;  // "/index.html", "/play.js" ...
    std::string_view type;  // its Content-Type
    std::string_view body;
};

// The asset served at path ("/" is "/index.html"); nullptr when there is none.
const PlayAsset* findPlayAsset(std::string_view path);

}  // namespace host
