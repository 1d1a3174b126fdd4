#include "skin/SuiCaptionFit.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <vector>

namespace {

const QString kEllipsis = QStringLiteral("...");

// The caption's grapheme boundaries, found lazily from the front: galloping looks only as far
// as the fitting prefix needs. The finder sees a window at the text's start that doubles when
// more is asked for, so a long caption is never scanned whole for a short cut.
class Boundaries {
public:
    explicit Boundaries(const QString& text) : text_(text) { positions_.push_back(0); }
    // The end of the k-th character (0: the empty prefix); -1 when the text has fewer.
    qsizetype End(qsizetype k) {
        while (qsizetype(positions_.size()) <= k && scanned_ < text_.size())
            widen();
        return k < qsizetype(positions_.size()) ? positions_[std::size_t(k)] : -1;
    }

private:
    void widen() {
        scanned_ = std::min(text_.size(), std::max<qsizetype>(256, scanned_ * 2));
        const bool whole = scanned_ == text_.size();
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, QStringView(text_).left(scanned_));
        positions_.assign(1, 0);
        for (qsizetype p = finder.toNextBoundary(); p > 0; p = finder.toNextBoundary()) {
            // The window's own end is no boundary unless it is the text's end: the character
            // there may go on past it.
            if (p == scanned_ && !whole)
                break;
            positions_.push_back(p);
        }
    }

    const QString& text_;
    qsizetype scanned_ = 0;
    std::vector<qsizetype> positions_;
};

// The largest k >= 0 with fits(k), given fits(0) and that fits holds for every k up to some
// bound and for none past it (widths grow with the prefix). Gallops from 0, then bisects, so
// it asks fits only for k up to about twice the answer.
template <typename Fits> qsizetype largestFitting(Fits fits) {
    qsizetype good = 0;
    qsizetype bad = 1;
    while (fits(bad)) {
        good = bad;
        bad *= 2;
    }
    while (bad - good > 1) {
        const qsizetype mid = good + (bad - good) / 2;
        if (fits(mid))
            good = mid;
        else
            bad = mid;
    }
    return good;
}

} // namespace

QString FitCaption(const QString& caption, int width, const TTextMeasure& measure) {
    Boundaries chars(caption);
    const auto prefix = [&](qsizetype k) { return caption.left(chars.End(k)); };

    // Does the whole caption fit? Gallop over growing prefixes first, so a long caption is
    // found too wide after measuring only a little more than the width holds.
    bool tooWide = false;
    for (qsizetype k = 1;; k *= 2) {
        const qsizetype end = chars.End(k);
        if (end < 0 || end >= caption.size())
            break;
        if (measure(prefix(k)) > width) {
            tooWide = true;
            break;
        }
    }
    if (!tooWide && measure(caption) <= width)
        return caption;

    // Drop characters until the rest with "..." fits: the longest prefix short of the whole
    // caption (k characters, k + 1 still within it) that fits with the ellipsis, or none.
    const qsizetype keep = largestFitting([&](qsizetype k) {
        return k == 0 || (chars.End(k + 1) >= 0 && measure(prefix(k) + kEllipsis) <= width);
    });
    return prefix(keep) + kEllipsis;
}
