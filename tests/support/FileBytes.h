#pragma once
// A whole file's bytes, read and written as they stand (no line-end or code-page translation).
// A file that cannot be opened reads as empty.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace zeltest {

inline std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

} // namespace zeltest
