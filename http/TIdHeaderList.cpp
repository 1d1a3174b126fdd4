#include "http/TIdHeaderList.h"

// Header values are trimmed of blanks and of the control bytes a sloppy server leaves behind
// (a stray CR before the line end): TrimControls.
#include "framework/core/AsciiText.h"

#include <algorithm>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimRightBlanks(std::string_view s) {
    std::size_t e = s.size();
    while (e > 0 && isBlank(s[e - 1]))
        --e;
    return s.substr(0, e);
}

bool isBreakChar(char c) {
    return c == ' ' || c == '\t' || c == ',';
}

} // namespace

void TIdHeaderList::Delete(int i) {
    if (i >= 0 && i < Count())
        lines_.erase(lines_.begin() + i);
}

std::string TIdHeaderList::Text() const {
    std::string out;
    for (const auto& l : lines_) {
        out += l;
        out += "\r\n";
    }
    return out;
}

bool TIdHeaderList::isContinuation(std::size_t i) const {
    return !lines_[i].empty() && isBlank(lines_[i][0]);
}

std::string TIdHeaderList::Names(int i) const {
    if (i < 0 || i >= Count() || isContinuation(static_cast<std::size_t>(i)))
        return {};
    const std::string& l = lines_[static_cast<std::size_t>(i)];
    std::size_t colon = l.find(':');
    return colon == std::string::npos ? std::string() : l.substr(0, colon);
}

int TIdHeaderList::IndexOfName(std::string_view name) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (isContinuation(i))
            continue;
        const std::string& l = lines_[i];
        std::size_t colon = l.find(':');
        if (colon != std::string::npos && SameText(std::string_view(l).substr(0, colon), name))
            return static_cast<int>(i);
    }
    return -1;
}

std::size_t TIdHeaderList::endOfHeader(std::size_t i) const {
    std::size_t j = i + 1;
    while (j < lines_.size() && isContinuation(j))
        ++j;
    return j;
}

std::string TIdHeaderList::valueAt(std::size_t i) const {
    const std::string& l = lines_[i];
    std::string value(TrimControls(std::string_view(l).substr(l.find(':') + 1)));
    if (unfoldLines_) {
        for (std::size_t j = i + 1; j < lines_.size() && isContinuation(j); ++j) {
            value = std::string(TrimControls(value));
            value += ' ';
            value += TrimControls(lines_[j]);
        }
    }
    return std::string(TrimControls(value));
}

std::string TIdHeaderList::Values(std::string_view name) const {
    int i = IndexOfName(name);
    return i < 0 ? std::string() : valueAt(static_cast<std::size_t>(i));
}

std::vector<std::string> TIdHeaderList::Extract(std::string_view name) const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (isContinuation(i))
            continue;
        const std::string& l = lines_[i];
        std::size_t colon = l.find(':');
        if (colon != std::string::npos && SameText(std::string_view(l).substr(0, colon), name))
            out.push_back(valueAt(i));
    }
    return out;
}

std::vector<std::string> TIdHeaderList::foldedLines(std::string_view name, std::string_view value) const {
    std::string line;
    line.reserve(name.size() + NameValueSeparator().size() + value.size());
    line.append(name).append(NameValueSeparator()).append(value);
    if (!foldLines_)
        return {std::move(line)};
    return FoldLine(line, foldLength_);
}

void TIdHeaderList::SetValues(std::string_view name, std::string_view value) {
    int at = IndexOfName(name);
    if (at >= 0) {
        auto first = lines_.begin() + at;
        lines_.erase(first,
                     lines_.begin() + static_cast<std::ptrdiff_t>(endOfHeader(static_cast<std::size_t>(at))));
    }
    if (value.empty())
        return;
    std::vector<std::string> pieces = foldedLines(name, value);
    auto pos = at >= 0 ? lines_.begin() + at : lines_.end();
    lines_.insert(pos, std::make_move_iterator(pieces.begin()), std::make_move_iterator(pieces.end()));
}

void TIdHeaderList::AddValue(std::string_view name, std::string_view value) {
    std::vector<std::string> pieces = foldedLines(name, value);
    lines_.insert(lines_.end(), std::make_move_iterator(pieces.begin()),
                  std::make_move_iterator(pieces.end()));
}

std::vector<std::string> TIdHeaderList::FoldLine(std::string_view line, int foldLength) {
    if (foldLength <= 0 || line.size() <= static_cast<std::size_t>(foldLength))
        return {std::string(line)};
    const std::size_t width = static_cast<std::size_t>(foldLength);
    std::vector<std::string> pieces;
    // The piece being cut is (lead ? " " : "") + line[start..]; offsets below are into the piece.
    std::size_t start = 0;
    std::size_t lead = 0;
    // Never break inside the name: a blank or comma there would cut the header in two.
    const std::size_t colon = line.find(':');
    const std::size_t firstBreak = colon == std::string_view::npos ? 0 : colon;
    while (line.size() - start + lead > width) {
        // The last blank or comma before the fold width that is outside quotes and leaves some
        // text in front of it.
        std::size_t breakAt = std::string::npos;
        bool seenText = false;
        char quote = 0;
        for (std::size_t k = lead; k < width; ++k) {
            char c = line[start + k - lead];
            if (!isBlank(c))
                seenText = true;
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (isBreakChar(c) && seenText && start + k - lead >= firstBreak) {
                breakAt = k;
            }
        }
        if (breakAt == std::string::npos)
            break;
        std::string piece = lead ? " " : "";
        piece += trimRightBlanks(line.substr(start, breakAt + 1 - lead));
        pieces.push_back(std::move(piece));
        std::size_t next = start + breakAt + 1 - lead;
        while (next < line.size() && isBreakChar(line[next]))
            ++next;
        if (next >= line.size())
            return pieces;
        start = next;
        lead = 1;
    }
    std::string last = lead ? " " : "";
    last += trimRightBlanks(line.substr(start));
    pieces.push_back(std::move(last));
    return pieces;
}
