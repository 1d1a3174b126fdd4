#pragma once
// The list box shows two lines per headline, in array order: line 2k is item k's title, line
// 2k+1 a separator of one blank. So line i is a headline exactly when i is even, and it
// belongs to item i / 2; no selection (-1) is odd and never qualifies.
#include <cstdint>
#include <string>
#include <vector>

class THeadlineStore;

inline constexpr const char* kSeparatorLine = " ";

// The lines for the first Count() items: title, " ", title, " ", ...
std::vector<std::string> HeadlineListLines(const THeadlineStore& store);

inline bool IsHeadlineLine(int lineIndex) {
    return lineIndex >= 0 && lineIndex % 2 == 0;
}
inline int ItemOfLine(int lineIndex) {
    return lineIndex / 2;
}

// The title or link for a selected line, or nullptr when the line is a separator, no
// selection, or beyond the store (a list that no longer matches the store).
const std::string* TitleOfLine(const THeadlineStore& store, int lineIndex);
const std::string* LinkOfLine(const THeadlineStore& store, int lineIndex);

// m: the greatest byte length of any line (a two-byte character counts twice, a four-byte one four times); 0
// if none.
std::size_t LongestLineBytes(const std::vector<std::string>& lines);
// The list box's horizontal scroll extent: m x w + 5, w being the pixel width of "A".
int HorizontalExtent(std::size_t longestLineBytes, int widthOfA);
