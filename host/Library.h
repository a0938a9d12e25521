#pragma once

#include <string>

#include <nlohmann/json_fwd.hpp>

namespace host {

// The library loaded with dlopen, as any host application would load it.
class Library {
public:
    // Loads the library at path; exits the process with a message when it cannot.
    explicit Library(const std::string& path);
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // One request text in, the reply text out (released through orvane_free).
    std::string call(const std::string& request) const;
    // The reply's "data", or null when the reply is no JSON or has none.
    nlohmann::json data(const std::string& request) const;

private:
    void* handle_ = nullptr;
    char* (*call_)(const char*) = nullptr;
    void (*free_)(char*) = nullptr;
};

}  // namespace host
