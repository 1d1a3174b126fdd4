#pragma once
// Plain text search for the tags of a feed: start tags by name, their attributes, and a cursor
// that remembers a tag's next occurrence so repeated searches scan the body once.
#include <cstddef>
#include <cstring>
#include <string_view>

namespace feedtags {

inline constexpr std::size_t npos = std::string_view::npos;

inline bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The first occurrence of text (two bytes or more) at or after from and before limit, or npos.
// Tags are short and their first byte ("<") is frequent, so the bytes after it are compared here
// rather than by a call per candidate.
inline std::size_t FindText(std::string_view body, std::string_view text, std::size_t from,
                            std::size_t limit = npos) {
    const std::size_t n = text.size();
    const std::size_t stop = limit < body.size() ? limit : body.size();
    if (from >= stop || stop - from < n)
        return npos;
    const char* base = body.data();
    const char* p = base + from;
    const char* const last = base + stop - n; // the last position the text may start at
    const char first = text[0], second = text[1];
    while (p <= last) {
        p = static_cast<const char*>(std::memchr(p, first, static_cast<std::size_t>(last - p) + 1));
        if (!p)
            return npos;
        if (p[1] == second) {
            std::size_t i = 2;
            while (i < n && p[i] == text[i])
                ++i;
            if (i == n)
                return static_cast<std::size_t>(p - base);
        }
        ++p;
    }
    return npos;
}

// Whether the text at p is the start tag open ("<name") followed by ">", "/" or a blank, so that
// "<item" is not taken for "<items".
inline bool StartTagAt(std::string_view body, std::size_t p, std::string_view open) {
    const std::size_t after = p + open.size();
    return after < body.size() && (body[after] == '>' || body[after] == '/' || Blank(body[after]));
}

// The first start tag "<name" at or after from, before limit; npos when there is none.
std::size_t FindStartTag(std::string_view body, std::string_view open, std::size_t from,
                         std::size_t limit = npos);

// The value of one attribute within a start tag's text (between its name and ">"), or "".
std::string_view Attribute(std::string_view tag, std::string_view name);

// The attribute after position i of a start tag's text: its name and value, i moved past it;
// false when none is left.
bool NextAttribute(std::string_view tag, std::size_t& i, std::string_view& name, std::string_view& value);

// The start tag at p whose name is nameLength bytes long: its attribute text, and in after the
// position after its ">". Its ">" is searched before limit only (the end of the element that
// holds it), so a tag that is never closed costs no search of the rest of the body; it then
// runs to the limit.
std::string_view StartTag(std::string_view body, std::size_t p, std::size_t nameLength, std::size_t& after,
                          std::size_t limit);

// Whether a start tag's attribute text ends the element at once ("<title/>").
inline bool SelfClosing(std::string_view tag) {
    return !tag.empty() && tag.back() == '/';
}

// The next occurrence of one text (or of one start tag) at or after an offset that only grows.
// It is searched again only once the offset has passed the remembered position, and never again
// once absent, so all the searches of one cursor together scan the body at most once.
class TTagCursor {
public:
    enum class Match { Exact, StartTag };

    TTagCursor(std::string_view body, std::string_view tag, Match match = Match::Exact)
        : body_(body), tag_(tag), match_(match) {}

    std::size_t At(std::size_t offset) {
        if (at_ == npos && searched_)
            return npos;
        if (!searched_ || at_ < offset) {
            at_ = match_ == Match::Exact ? FindText(body_, tag_, offset) : FindStartTag(body_, tag_, offset);
            searched_ = true;
        }
        return at_;
    }

    // The next occurrence at or after offset and before limit, else npos.
    std::size_t Within(std::size_t offset, std::size_t limit) {
        const std::size_t p = At(offset);
        return p < limit ? p : npos;
    }

private:
    std::string_view body_;
    std::string_view tag_;
    Match match_;
    std::size_t at_ = npos;
    bool searched_ = false;
};

} // namespace feedtags
