#include "reader/HeadlineLines.h"

#include "reader/THeadlineStore.h"

#include <algorithm>
#include <limits>

std::vector<std::string> HeadlineListLines(const THeadlineStore& store) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(store.Count()) * 2);
    for (std::int32_t i = 0; i < store.Count(); ++i) {
        lines.push_back(store.Item(i).title);
        lines.emplace_back(kSeparatorLine);
    }
    return lines;
}

const std::string* TitleOfLine(const THeadlineStore& store, int lineIndex) {
    if (!IsHeadlineLine(lineIndex) || ItemOfLine(lineIndex) >= store.Count())
        return nullptr;
    return &store.Item(ItemOfLine(lineIndex)).title;
}

const std::string* LinkOfLine(const THeadlineStore& store, int lineIndex) {
    if (!IsHeadlineLine(lineIndex) || ItemOfLine(lineIndex) >= store.Count())
        return nullptr;
    return &store.Item(ItemOfLine(lineIndex)).link;
}

std::size_t LongestLineBytes(const std::vector<std::string>& lines) {
    std::size_t m = 0;
    for (const std::string& line : lines)
        m = std::max(m, line.size());
    return m;
}

int HorizontalExtent(std::size_t longestLineBytes, int widthOfA) {
    // A pathological line (megabytes without a break) must not wrap the extent negative.
    long long extent =
        static_cast<long long>(std::min<std::size_t>(longestLineBytes, 1u << 30)) * widthOfA + 5;
    return static_cast<int>(std::clamp<long long>(extent, 0, std::numeric_limits<int>::max()));
}
