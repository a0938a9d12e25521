// Tests that the library a host loads exports exactly its two entry points.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "orvane.h"

namespace {

// The names a shared library's dynamic symbol table defines, demangled or not.
std::set<std::string> definedNames(const std::string& library, bool demangled) {
    const std::string command = std::string("nm -D --defined-only ") + (demangled ? "-C " : "") + library;
    FILE* pipe = popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    std::set<std::string> names;
    if (!pipe) return names;
    char line[4096];
    while (fgets(line, sizeof line, pipe)) {
        std::string text(line);
        // "ADDRESS TYPE NAME": the name is everything after the type.
        const auto type = text.find(' ');
        std::string name = type == std::string::npos ? text : text.substr(text.find(' ', type + 1) + 1);
        while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
        names.insert(name);
    }
    EXPECT_EQ(pclose(pipe), 0);
    return names;
}

// Tests that the dynamic symbol table defines orvane_call and orvane_free and nothing else.
TEST(ExportsTest, DefinesOnlyTheTwoEntryPoints) {
    EXPECT_EQ(definedNames(ORVANE_LIBRARY_PATH, false), (std::set<std::string>{"orvane_call", "orvane_free"}));
}

// Tests that the simulated Mac's library offers its C API, the platform
// interfaces and its own scripting API, and keeps the standard library's and
// nlohmann/json's instantiations to itself.
TEST(ExportsTest, DesktopLibraryExportsOnlyItsOwnNames) {
    const auto names = definedNames(ORVANE_DESKTOP_LIBRARY_PATH, true);
    EXPECT_TRUE(names.count("orvane_desktop_verb"));
    EXPECT_TRUE(names.count("typeinfo for platform::ui::View"));
    auto isOwn = [](const std::string& name) {
        if (name.rfind("orvane_desktop_", 0) == 0) return true;
        for (const char* prefix : {"platform::", "desktop::", "typeinfo for ", "typeinfo name for ", "vtable for ",
                                   "VTT for ", "guard variable for ", "non-virtual thunk to ", "virtual thunk to "}) {
            const std::string start(prefix);
            if (name.rfind(start, 0) != 0) continue;
            const std::string rest = name.substr(start.size());
            if (start.back() == ':' || rest.rfind("platform::", 0) == 0 || rest.rfind("desktop::", 0) == 0) return true;
        }
        return false;
    };
    std::size_t others = 0;
    for (const auto& name : names) {
        // A function template's instance is demangled with its return type
        // first: the name proper follows a space outside brackets.
        bool own = isOwn(name);
        int depth = 0;
        for (std::size_t i = 0; !own && i < name.size() && !(depth == 0 && name[i] == '('); ++i) {
            if (name[i] == '<') ++depth;
            if (name[i] == '>') --depth;
            if (depth == 0 && name[i] == ' ') own = isOwn(name.substr(i + 1));
        }
        if (!own && ++others <= 5) ADD_FAILURE() << "exported: " << name;
    }
    EXPECT_EQ(others, 0u);
}

// Tests that the header's version is the one the build gave the library, its
// soname (which carries the major version) and its pkg-config files.
TEST(ExportsTest, HeaderVersionAgreesWithSonameAndPackage) {
    const std::string version = std::to_string(ORVANE_VERSION_MAJOR) + "." + std::to_string(ORVANE_VERSION_MINOR) + "." +
                                std::to_string(ORVANE_VERSION_PATCH);
    EXPECT_EQ(version, ORVANE_VERSION_STRING);
    EXPECT_EQ(version, ORVANE_PROJECT_VERSION);
    EXPECT_EQ(ORVANE_VERSION, ORVANE_VERSION_MAJOR * 10000 + ORVANE_VERSION_MINOR * 100 + ORVANE_VERSION_PATCH);

    namespace fs = std::filesystem;
    const fs::path library = ORVANE_LIBRARY_PATH;
    const auto real = fs::canonical(library).filename().string();
    EXPECT_EQ(real, "libOrvaneNative.so." + version);
    FILE* pipe = popen(("readelf -d " + library.string()).c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string dynamic;
    char line[1024];
    while (fgets(line, sizeof line, pipe)) dynamic += line;
    pclose(pipe);
    EXPECT_NE(dynamic.find("[libOrvaneNative.so." + std::to_string(ORVANE_VERSION_MAJOR) + "]"), std::string::npos)
        << dynamic;

    for (const char* pc : {"orvane-native.pc", "orvane-desktop.pc"}) {
        std::ifstream file(fs::path(ORVANE_BINARY_DIR) / pc);
        std::stringstream text;
        text << file.rdbuf();
        EXPECT_NE(text.str().find("\nVersion: " + version + "\n"), std::string::npos) << pc;
    }
}

}  // namespace
