// orvane-doc-tables: writes the tables the code holds (commands, event kinds,
// the host's flags, the verbs) into the guide for hosts between its markers.
//   orvane-doc-tables docs/hosting.md           rewrites the file in place
//   orvane-doc-tables --check docs/hosting.md   exits 1 when the file is out of date

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "docgen/DocTables.h"

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::string_view(argv[1]) == "--check";
    if (argc != 2 && !check) {
        std::fputs("usage: orvane-doc-tables [--check] docs/hosting.md\n", stderr);
        return 2;
    }
    const std::string path = argv[argc - 1];
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "orvane-doc-tables: cannot read %s\n", path.c_str());
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::string missing;
    const auto updated = docgen::withGeneratedBlocks(text.str(), missing);
    if (!updated) {
        std::fprintf(stderr, "orvane-doc-tables: %s has no <!-- %s:begin --> ... <!-- %s:end --> markers\n", path.c_str(),
                     missing.c_str(), missing.c_str());
        return 2;
    }
    if (check) {
        if (*updated == text.str()) return 0;
        std::fprintf(stderr, "orvane-doc-tables: %s is out of date; run make docs\n", path.c_str());
        return 1;
    }
    if (*updated == text.str()) return 0;
    std::ofstream out(path, std::ios::trunc);
    out << *updated;
    if (!out.flush()) {
        std::fprintf(stderr, "orvane-doc-tables: cannot write %s\n", path.c_str());
        return 2;
    }
    return 0;
}
