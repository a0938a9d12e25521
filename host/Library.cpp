#include "host/Library.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

#include <nlohmann/json.hpp>

namespace host {

// The library stays mapped until the process ends (RTLD_NODELETE): the simulated
// Mac still holds objects whose code lives in it (tracking areas, menus) and
// releases them at exit.
Library::Library(const std::string& path) {
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle_) {
        std::fprintf(stderr, "orvane-host: cannot load %s: %s\n", path.c_str(), dlerror());
        std::exit(2);
    }
    call_ = reinterpret_cast<char* (*)(const char*)>(dlsym(handle_, "orvane_call"));
    free_ = reinterpret_cast<void (*)(char*)>(dlsym(handle_, "orvane_free"));
    if (!call_ || !free_) {
        std::fprintf(stderr, "orvane-host: %s does not export orvane_call and orvane_free\n", path.c_str());
        std::exit(2);
    }
}

Library::~Library() {
    if (handle_) dlclose(handle_);
}

std::string Library::call(const std::string& request) const {
    char* reply = call_(request.c_str());
    std::string text = reply ? reply : "";
    free_(reply);
    return text;
}

nlohmann::json Library::data(const std::string& request) const {
    const auto reply = nlohmann::json::parse(call(request), nullptr, false);
    return reply.is_object() ? reply.value("data", nlohmann::json()) : nlohmann::json();
}

}  // namespace host
