#include "framework/core/AtomicFileWriter.h"

#include "framework/core/EInOutError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kFlushSize = 64 * 1024;

std::string fullPath(const std::string& fileName) {
    std::error_code ec;
    auto p = std::filesystem::absolute(fileName, ec);
    return ec ? fileName : p.lexically_normal().string();
}

// A file without any write bit is read-only, whoever we are: root could replace it, but the
// user marked it so it would not be replaced.
bool isReadOnlyFile(const std::string& fileName) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0)
        return false;
    return !S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 || ::access(fileName.c_str(), W_OK) != 0;
}

// The file a save really replaces. A symbolic link is followed to its target (a dangling one
// too: the save then creates the target), so the link stays a link and the target changes.
std::string followLinks(const std::string& fileName) {
    std::filesystem::path p(fileName);
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(p, ec)))
            return p.string();
        std::filesystem::path to = std::filesystem::read_symlink(p, ec);
        if (ec)
            return p.string();
        // Not normalised: ".." after a linked directory means that directory's parent.
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    throw EInOutError("Cannot create file \"" + fileName + "\". Too many levels of symbolic links");
}

} // namespace

bool AtomicFileWriter::CanReplace(const std::string& fileName) {
    try {
        const std::string target = followLinks(fullPath(fileName));
        struct stat st {};
        if (::stat(target.c_str(), &st) != 0 || isReadOnlyFile(target))
            return false;
        return ::access(std::filesystem::path(target).parent_path().c_str(), W_OK) == 0;
    } catch (const EInOutError&) {
        return false; // a loop of links
    }
}

AtomicFileWriter::AtomicFileWriter(std::string fileName)
    : fileName_(fullPath(fileName)), target_(followLinks(fileName_)) {
    if (isReadOnlyFile(target_))
        throw EInOutError("Cannot create file \"" + fileName_ + "\". Permission denied");
    std::filesystem::path target(target_);
    std::string pattern = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    fd_ = ::mkstemp(pattern.data());
    if (fd_ < 0)
        throw EInOutError("Cannot create file \"" + fileName_ + "\". " + std::strerror(errno));
    tempName_ = pattern;
    // mkstemp makes the file private and ours; give it the old file's owner where we may (root
    // saving another user's file must not take it over), then its mode, or the usual mode for a
    // new file. The owner goes first: changing it may clear set-id bits.
    struct stat st {};
    mode_t mode;
    if (::stat(target_.c_str(), &st) == 0) {
        if ((st.st_uid != ::geteuid() || st.st_gid != ::getegid()) &&
            ::fchown(fd_, st.st_uid, st.st_gid) != 0) {
            // Not permitted (a user cannot give a file away): the new file stays ours.
        }
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd_, mode);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_ && !tempName_.empty())
        ::unlink(tempName_.c_str());
}

void AtomicFileWriter::Fail(const std::string& message) {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!tempName_.empty())
        ::unlink(tempName_.c_str());
    tempName_.clear();
    throw EInOutError(message);
}

void AtomicFileWriter::Write(std::string_view bytes) {
    if (fd_ < 0)
        Fail("Unable to write to " + fileName_);
    buffer_.append(bytes);
    if (buffer_.size() >= kFlushSize)
        Flush();
}

void AtomicFileWriter::Flush() {
    std::size_t done = 0;
    while (done < buffer_.size()) {
        ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fail("Unable to write to " + fileName_);
        done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

void AtomicFileWriter::Commit() {
    if (fd_ < 0)
        Fail("Unable to write to " + fileName_);
    Flush();
    if (::fsync(fd_) != 0 || ::close(fd_) != 0) {
        fd_ = -1;
        Fail("Unable to write to " + fileName_);
    }
    fd_ = -1;
    if (::rename(tempName_.c_str(), target_.c_str()) != 0)
        Fail("Unable to write to " + fileName_);
    committed_ = true;
}
