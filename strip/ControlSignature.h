#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/AppEntry.h"
#include "strip/StripLayout.h"

namespace orvane {

// A double as its shortest decimal that reads back as the same value, in
// plain (never exponent) notation with at least one fractional digit:
// 24.0, 206.0, 100000.0, 0.1.
std::string signatureNumber(double value);

// What the strip's buttons depend on: "offset/capacity/width/height/" then
// the ids of all entries joined with "|". Equal signatures mean the built
// buttons still fit.
std::string controlSignature(std::int64_t offset, const StripLayout& layout, const std::vector<AppEntry>& entries);

}  // namespace orvane
