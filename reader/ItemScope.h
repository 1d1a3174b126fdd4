#pragma once
// The text of one item or entry, and the searches for the tags that are its own: none that a
// comment or CDATA section of it holds (OpaqueSpans.h), and none within one element that is not
// its own (an Atom entry's "<source>", the feed it was copied from).
#include "reader/FeedTags.h"
#include "reader/OpaqueSpans.h"

#include <cstddef>
#include <string_view>

class TItemScope {
public:
    // The item's text is [from, end) of the body; spans: its comments and CDATA sections.
    TItemScope(std::string_view body, std::size_t from, std::size_t end, const TOpaqueSpans& spans)
        : body_(body), from_(from), end_(end), spans_(spans) {}

    // Leaves [from, to) out of every search.
    void Exclude(std::size_t from, std::size_t to) {
        skipFrom_ = from;
        skipTo_ = to;
    }

    // p when it is the item's own text, else where its own text resumes after p.
    std::size_t Own(std::size_t p) const {
        for (;;) {
            if (p >= skipFrom_ && p < skipTo_)
                p = skipTo_;
            const std::size_t q = spans_.Skip(p);
            if (q == p)
                return p;
            p = q;
        }
    }

    // The first start tag "<name" of the item's own at or after from, else npos.
    std::size_t Find(std::string_view open, std::size_t from) const {
        return firstOwn(from, [&](std::size_t at) { return feedtags::FindStartTag(body_, open, at, end_); });
    }
    std::size_t Find(std::string_view open) const { return Find(open, from_); }

    // The first occurrence of text, as it stands, of the item's own at or after from, else npos.
    std::size_t FindText(std::string_view text, std::size_t from) const {
        return firstOwn(from, [&](std::size_t at) { return feedtags::FindText(body_, text, at, end_); });
    }

    // The text of the element whose start tag at p has a name nameLength bytes long, up to its
    // close of the item's own; empty when it is empty ("<name/>") or not closed in the item. Its
    // start tag's attribute text goes to tag when asked for.
    std::string_view Text(std::size_t p, std::size_t nameLength, std::string_view close,
                          std::string_view* tag = nullptr) const {
        std::size_t after = 0;
        const std::string_view attrs = feedtags::StartTag(body_, p, nameLength, after, end_);
        if (tag)
            *tag = attrs;
        if (feedtags::SelfClosing(attrs))
            return {};
        const std::size_t e = FindText(close, after);
        return e == feedtags::npos ? std::string_view() : body_.substr(after, e - after);
    }

    std::string_view Body() const { return body_; }
    std::size_t From() const { return from_; }
    std::size_t End() const { return end_; }

private:
    // The first match of search at or after from that is the item's own: a match inside a
    // comment or CDATA section sends the search on past it.
    template <class Search> std::size_t firstOwn(std::size_t from, Search search) const {
        for (;;) {
            const std::size_t p = search(from);
            if (p == feedtags::npos)
                return p;
            const std::size_t own = Own(p);
            if (own == p)
                return p;
            from = own;
        }
    }

    std::string_view body_;
    std::size_t from_, end_;
    const TOpaqueSpans& spans_;
    std::size_t skipFrom_ = feedtags::npos, skipTo_ = feedtags::npos;
};
