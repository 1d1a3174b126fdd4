#pragma once
// A fresh directory under the system's temporary directory, removed with everything in it.
#include "tests/support/FileBytes.h"

#include <filesystem>
#include <random>
#include <string>

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("zel-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }

    static void Put(const std::string& file, const std::string& bytes) { zeltest::WriteFile(file, bytes); }
    static std::string Get(const std::string& file) { return zeltest::ReadFile(file); }
    // Everything in the directory, to prove that no temporary file was left behind.
    std::size_t Count() const {
        std::size_t n = 0;
        for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(path_))
            ++n;
        return n;
    }

private:
    std::filesystem::path path_;
};

// Enters a directory and goes back to where the test was when it ends, also after a failed
// assertion, so later tests do not run in a directory that is already gone.
class InDirectory {
public:
    explicit InDirectory(const std::filesystem::path& dir) : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~InDirectory() {
        std::error_code ec;
        std::filesystem::current_path(old_, ec);
    }
    InDirectory(const InDirectory&) = delete;
    InDirectory& operator=(const InDirectory&) = delete;

private:
    std::filesystem::path old_;
};
