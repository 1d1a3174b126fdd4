#pragma once
// The source tree's root, for tests that read committed files (the demo site, the README).
// __FILE__ is relative when the compiler cache rewrites paths, so fall back on the build
// directory's ancestors.
#include <filesystem>

namespace zeltest {

inline std::filesystem::path SourceTree() {
    namespace fs = std::filesystem;
    const fs::path here = fs::path(__FILE__).parent_path() / ".." / "..";
    std::error_code ec;
    if (fs::is_regular_file(here / "README.md", ec) && fs::is_directory(here / "demo", ec))
        return here.lexically_normal();
    for (fs::path p = fs::current_path(ec); !p.empty() && p != p.root_path(); p = p.parent_path())
        if (fs::is_regular_file(p / "README.md", ec) && fs::is_directory(p / "demo", ec))
            return p;
    return here;
}

} // namespace zeltest
