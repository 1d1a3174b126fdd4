#include "skin/SuiCaptionFit.h"

#include <QTextBoundaryFinder>

#include <vector>

namespace {

const QString kEllipsis = QStringLiteral("...");

// The caption's grapheme boundaries, found lazily from the front: galloping looks only as far
// as the fitting prefix needs.
class Boundaries {
public:
    explicit Boundaries(const QString& text) : finder_(QTextBoundaryFinder::Grapheme, text) {
        positions_.push_back(0);
    }
    // The end of the k-th character (0: the empty prefix); -1 when the text has fewer.
    qsizetype End(qsizetype k) {
        while (qsizetype(positions_.size()) <= k && !done_) {
            const qsizetype next = finder_.toNextBoundary();
            if (next <= positions_.back()) {
                done_ = true;
                break;
            }
            positions_.push_back(next);
        }
        return k < qsizetype(positions_.size()) ? positions_[std::size_t(k)] : -1;
    }

private:
    QTextBoundaryFinder finder_;
    std::vector<qsizetype> positions_;
    bool done_ = false;
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
