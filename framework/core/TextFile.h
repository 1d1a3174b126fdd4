#pragma once
// Sequential text files of byte lines. Reading accepts CR LF, LF or a lone CR as a line end and
// does not count a line end at the very end as the start of another line; writing always ends
// every line with CR LF and replaces the file only once every line is written.
#include <string>
#include <string_view>
#include <vector>

// Splits text into lines by CR LF, LF or CR. "a\r\nb" and "a\r\nb\r\n" both give {"a", "b"}.
std::vector<std::string> SplitTextLines(std::string_view text);

// The most bytes a file read whole may hold, as for a response body.
inline constexpr std::size_t kMaxFileBytes = std::size_t{256} << 20;

// Reads a whole regular file of at most maxBytes; throws EInOutError "Cannot open file ..."
// (also for a directory, a pipe or a device, and for a larger file) or "Unable to read from ...".
// Opening never blocks, so a FIFO is refused at once.
std::string ReadFileBytes(const std::string& fileName, std::size_t maxBytes = kMaxFileBytes);
// The first bytes of a regular file, at most count of them (fewer when it is shorter), with the
// refusals of ReadFileBytes: enough to tell what kind of file it is without reading it whole.
std::string ReadFileHead(const std::string& fileName, std::size_t count);
std::vector<std::string> ReadTextLines(const std::string& fileName);

// Writes the lines, each followed by CR LF, through a temporary file renamed over the target;
// throws EInOutError and leaves an existing file untouched on any failure.
void WriteTextLines(const std::string& fileName, const std::vector<std::string>& lines);
