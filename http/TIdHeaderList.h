#pragma once
// An ordered list of HTTP header lines: name, ": ", value.
//
//   line         = name ":" value          (the name is everything before the first colon, as is)
//   continuation = (SP / HTAB) text        (belongs to the header line above it)
//
// Names compare without regard to ASCII case. Reading a value unfolds its continuation lines
// ("a," + " b" reads "a, b"); setting a value folds it past FoldLength() into continuation lines,
// breaking after a blank or comma that is not inside quotes. Request and response lists fold at
// 1024; a free-standing list (an authentication parameter list, say) at 78.
//
//   TIdHeaderList h(1024);
//   h.SetValues("Host", "example.org");     // replaces or appends
//   h.Values("host");                       // "example.org"
//   h.Add("Set-Cookie: a=1");               // raw lines, e.g. as read from the wire
//   h.Extract("set-cookie");                // every value of every line with that name
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TIdHeaderList {
public:
    static constexpr int kDefaultFoldLength = 78;
    static constexpr int kMessageFoldLength = 1024;

    explicit TIdHeaderList(int foldLength = kDefaultFoldLength) : foldLength_(foldLength) {}

    // The separator written between a name and its value.
    static constexpr std::string_view NameValueSeparator() { return ": "; }

    int FoldLength() const { return foldLength_; }
    void SetFoldLength(int v) { foldLength_ = v; }
    // When false, SetValues stores a long line unbroken.
    bool FoldLines() const { return foldLines_; }
    void SetFoldLines(bool v) { foldLines_ = v; }
    // When false, Values reads the first line's value only and ignores continuation lines.
    bool UnfoldLines() const { return unfoldLines_; }
    void SetUnfoldLines(bool v) { unfoldLines_ = v; }

    // Raw lines, in order (continuation lines included).
    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& operator[](int i) const { return lines_[static_cast<std::size_t>(i)]; }
    const std::vector<std::string>& Lines() const { return lines_; }
    void Add(std::string line) { lines_.push_back(std::move(line)); }
    void Delete(int i);
    void Clear() { lines_.clear(); }
    // The lines joined with CR LF, each line ended by one.
    std::string Text() const;

    // The name of line i (text before its first colon); empty for a continuation line or a line
    // without a colon.
    std::string Names(int i) const;
    // Index of the first header line with that name, or -1.
    int IndexOfName(std::string_view name) const;

    // The value of the first line with that name, continuation lines unfolded, trimmed; empty when
    // absent.
    std::string Values(std::string_view name) const;
    // Replaces the line with that name (and its continuation lines) in place, or appends one.
    // An empty value removes the line.
    void SetValues(std::string_view name, std::string_view value);
    // Appends a line for the name even when one exists already (repeatable headers).
    void AddValue(std::string_view name, std::string_view value);
    // The values of every line with that name, in order.
    std::vector<std::string> Extract(std::string_view name) const;

    // Breaks one header line into the pieces it is stored as; the pieces after the first begin
    // with one space. A line that fits, or that offers no place to break, stays whole.
    static std::vector<std::string> FoldLine(std::string_view line, int foldLength);

private:
    bool isContinuation(std::size_t i) const;
    // The value of the header line at i with its continuation lines joined in.
    std::string valueAt(std::size_t i) const;
    // Index one past the header line at i and its continuation lines.
    std::size_t endOfHeader(std::size_t i) const;
    std::vector<std::string> foldedLines(std::string_view name, std::string_view value) const;

    std::vector<std::string> lines_;
    int foldLength_;
    bool foldLines_ = true;
    bool unfoldLines_ = true;
};
