#include "framework/core/TextFile.h"

#include "framework/core/AtomicFileWriter.h"
#include "framework/core/EInOutError.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::vector<std::string> SplitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    const std::size_t n = text.size();
    while (start < n) {
        std::size_t end = start;
        while (end < n && text[end] != '\r' && text[end] != '\n')
            ++end;
        lines.emplace_back(text.substr(start, end - start));
        if (end < n && text[end] == '\r' && end + 1 < n && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

namespace {

[[noreturn]] void cannotOpen(const std::string& fileName, const std::string& why) {
    throw EInOutError("Cannot open file \"" + fileName + "\". " + why);
}

std::string largerThan(std::size_t maxBytes) {
    return "The file is larger than " + std::to_string(maxBytes) + " bytes";
}

// Closes the descriptor however the reading ends.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

// Opens a regular file for reading and returns its size. Non-blocking, so a FIFO without a
// writer cannot hold the caller in open(); a device or a pipe has no end to read to (/dev/zero
// never stops) and is refused.
std::uint64_t openRegularFile(const std::string& fileName, Descriptor& file) {
    file.fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file.fd < 0)
        cannotOpen(fileName, std::strerror(errno));
    struct stat st {};
    if (::fstat(file.fd, &st) != 0)
        cannotOpen(fileName, std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        cannotOpen(fileName, std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode))
        cannotOpen(fileName, "Not a regular file");
    return static_cast<std::uint64_t>(st.st_size);
}

// Appends to bytes until the file ends or bytes holds count of them.
void readUpTo(const std::string& fileName, const Descriptor& file, std::size_t count, std::string& bytes) {
    char chunk[64 * 1024];
    while (bytes.size() < count) {
        const ssize_t got = ::read(file.fd, chunk, std::min(sizeof chunk, count - bytes.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw EInOutError("Unable to read from " + fileName + ". " + std::strerror(errno));
        if (got == 0)
            return;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
}

} // namespace

std::string ReadFileBytes(const std::string& fileName, std::size_t maxBytes) {
    Descriptor file;
    const std::uint64_t size = openRegularFile(fileName, file);
    if (size > maxBytes)
        cannotOpen(fileName, largerThan(maxBytes));
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    // One byte past the cap tells a file that grew meanwhile.
    readUpTo(fileName, file, maxBytes + 1, bytes);
    if (bytes.size() > maxBytes)
        cannotOpen(fileName, largerThan(maxBytes));
    return bytes;
}

std::string ReadFileHead(const std::string& fileName, std::size_t count) {
    Descriptor file;
    openRegularFile(fileName, file);
    std::string bytes;
    readUpTo(fileName, file, count, bytes);
    return bytes;
}

std::vector<std::string> ReadTextLines(const std::string& fileName) {
    return SplitTextLines(ReadFileBytes(fileName));
}

void WriteTextLines(const std::string& fileName, const std::vector<std::string>& lines) {
    AtomicFileWriter out(fileName);
    for (const std::string& line : lines) {
        out.Write(line);
        out.Write("\r\n");
    }
    out.Commit();
}
