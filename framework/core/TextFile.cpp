#include "framework/core/TextFile.h"

#include "framework/core/AtomicFileWriter.h"
#include "framework/core/EInOutError.h"

#include <cerrno>
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

std::string ReadFileBytes(const std::string& fileName) {
    // Non-blocking, so a FIFO without a writer cannot hold the caller in open().
    int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw EInOutError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    struct stat st {};
    const int statErr = ::fstat(fd, &st) == 0 ? 0 : errno;
    auto refuse = [&](const std::string& why) {
        ::close(fd);
        throw EInOutError("Cannot open file \"" + fileName + "\". " + why);
    };
    if (statErr != 0)
        refuse(std::strerror(statErr));
    if (S_ISDIR(st.st_mode))
        refuse(std::strerror(EISDIR));
    // A device or a pipe has no end to read to (/dev/zero never stops).
    if (!S_ISREG(st.st_mode))
        refuse("Not a regular file");
    if (static_cast<unsigned long long>(st.st_size) > kMaxFileBytes)
        refuse("The file is larger than " + std::to_string(kMaxFileBytes) + " bytes");
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char chunk[64 * 1024];
    for (;;) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            int err = errno;
            ::close(fd);
            throw EInOutError("Unable to read from " + fileName + ". " + std::strerror(err));
        }
        if (got == 0)
            break;
        if (bytes.size() + static_cast<std::size_t>(got) > kMaxFileBytes)
            refuse("The file is larger than " + std::to_string(kMaxFileBytes) + " bytes"); // it grew
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
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
