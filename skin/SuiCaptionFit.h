#pragma once
// Fitting a window caption into the space between the title bar's buttons.
//
//   FitCaption(caption, width, measure)
//     The whole caption when it is no wider than width. Otherwise the caption with characters
//     dropped from its end, one at a time, until the rest followed by "..." is no wider than
//     width (or nothing is left of it), with "..." appended.
//
// Characters are whole user-perceived characters (grapheme clusters): a cut never splits a
// UTF-16 surrogate pair, a base letter from its combining marks, or an emoji sequence. Text that
// came from the GBK code page has one UTF-16 unit per double-byte character, so its cuts fall
// on whole GBK characters too.
//
// The result is the one-character-at-a-time rule's, but found by a galloping search over prefix
// widths: only prefixes up to about twice the fitting length are ever measured, so a caption of
// thousands of characters costs as little as a short one.
#include <QString>

#include <functional>

// The width in pixels of a text, in the font the caption is drawn with.
using TTextMeasure = std::function<int(const QString&)>;

QString FitCaption(const QString& caption, int width, const TTextMeasure& measure);
