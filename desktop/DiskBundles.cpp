// Application bundles on the simulated disk, standing in for Launch Services
// opening a bundle it meets for the first time: it reads the bundle's
// Info.plist for the identifier.

#include "desktop/DiskBundles.h"

#include <plist/plist.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <cstdlib>
#include <memory>

#include "desktop/Disk.h"

namespace desktop {
namespace {

constexpr std::uintmax_t largestInfoPlist = 4 * 1024 * 1024;

std::string infoPlistPath(const std::string& path) { return resolve(path) + "/Contents/Info.plist"; }

bool endsWithApp(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path.size() > 4 && path.compare(path.size() - 4, 4, ".app") == 0;
}

}  // namespace

bool isApplicationBundleOnDisk(const std::string& path) {
    if (path.empty() || path.front() != '/' || !endsWithApp(path)) return false;
    std::error_code error;
    return std::filesystem::is_directory(resolve(path), error) &&
           std::filesystem::is_regular_file(infoPlistPath(path), error);
}

std::optional<std::string> diskBundleIdentifier(const std::string& path) {
    if (!isApplicationBundleOnDisk(path)) return std::nullopt;
    std::error_code error;
    auto size = std::filesystem::file_size(infoPlistPath(path), error);
    if (error || size == 0 || size > largestInfoPlist) return std::nullopt;
    std::ifstream in(infoPlistPath(path), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    plist_t root = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    std::unique_ptr<void, void (*)(plist_t)> owner(root, plist_free);
    if (!root || plist_get_node_type(root) != PLIST_DICT) return std::nullopt;
    plist_t node = plist_dict_get_item(root, "CFBundleIdentifier");
    if (!node || plist_get_node_type(node) != PLIST_STRING) return std::nullopt;
    char* value = nullptr;
    plist_get_string_val(node, &value);
    if (!value) return std::nullopt;
    std::string identifier(value);
    free(value);
    if (identifier.empty()) return std::nullopt;
    return identifier;
}

}  // namespace desktop
