#include "strip/ControlSignature.h"

#include <charconv>
#include <cmath>

namespace orvane {

std::string signatureNumber(double value) {
    // Long enough for any double in fixed notation (the smallest subnormal
    // needs 327 characters).
    char buffer[512];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc()) return std::isfinite(value) ? "0.0" : "nan";
    std::string text(buffer, end);
    if (std::isfinite(value) && text.find('.') == std::string::npos) text += ".0";
    return text;
}

std::string controlSignature(std::int64_t offset, const StripLayout& layout, const std::vector<AppEntry>& entries) {
    std::string signature = std::to_string(offset);
    signature += '/';
    signature += std::to_string(layout.capacity());
    signature += '/';
    signature += signatureNumber(layout.width());
    signature += '/';
    signature += signatureNumber(layout.height());
    signature += '/';
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) signature += '|';
        signature += entries[i].id;
    }
    return signature;
}

}  // namespace orvane
