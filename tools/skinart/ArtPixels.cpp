#include "ArtPixels.h"

#include <algorithm>
#include <cmath>

namespace art {

QRgb Mix(QRgb a, QRgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto m = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return qRgb(m(qRed(a), qRed(b)), m(qGreen(a), qGreen(b)), m(qBlue(a), qBlue(b)));
}
QRgb Lighter(QRgb c, double t) {
    return Mix(c, qRgb(255, 255, 255), t);
}
QRgb Darker(QRgb c, double t) {
    return Mix(c, qRgb(0, 0, 0), t);
}

QImage NewImage(int w, int h, QRgb fill) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

void Put(QImage& img, int x, int y, QRgb c) {
    if (x >= 0 && y >= 0 && x < img.width() && y < img.height())
        img.setPixel(x, y, c);
}

void Fill(QImage& img, int x, int y, int w, int h, QRgb c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            Put(img, i, j, c);
}

void Frame(QImage& img, int x, int y, int w, int h, QRgb c) {
    Fill(img, x, y, w, 1, c);
    Fill(img, x, y + h - 1, w, 1, c);
    Fill(img, x, y, 1, h, c);
    Fill(img, x + w - 1, y, 1, h, c);
}

void VGradient(QImage& img, int x, int y, int w, int h, QRgb top, QRgb bottom) {
    for (int j = 0; j < h; ++j)
        Fill(img, x, y + j, w, 1, Mix(top, bottom, h > 1 ? double(j) / (h - 1) : 0.0));
}

void Stamp(QImage& img, int x, int y, const Mask& mask, QRgb c) {
    for (size_t j = 0; j < mask.size(); ++j)
        for (size_t i = 0; i < mask[j].size(); ++i)
            if (mask[j][i] == 'X')
                Put(img, x + int(i), y + int(j), c);
}

Mask TurnMask(const Mask& mask) {
    const int h = int(mask.size()), w = int(mask[0].size());
    Mask out(size_t(w), std::string(size_t(h), '.'));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out[size_t(x)][size_t(h - 1 - y)] = mask[size_t(y)][size_t(x)];
    return out;
}

static bool insideRoundRect(double sx, double sy, double x, double y, double w, double h, double r) {
    if (sx < x || sy < y || sx > x + w || sy > y + h)
        return false;
    const double cx = std::clamp(sx, x + r, x + w - r), cy = std::clamp(sy, y + r, y + h - r);
    return (sx - cx) * (sx - cx) + (sy - cy) * (sy - cy) <= r * r;
}

double RoundRectCoverage(int px, int py, double x, double y, double w, double h, double r) {
    int in = 0;
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            in += insideRoundRect(px + (i + 0.5) / 4, py + (j + 0.5) / 4, x, y, w, h, r);
    return in / 16.0;
}

double CircleCoverage(int px, int py, double cx, double cy, double radius) {
    int in = 0;
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
            const double dx = px + (i + 0.5) / 4 - cx, dy = py + (j + 0.5) / 4 - cy;
            in += dx * dx + dy * dy <= radius * radius;
        }
    return in / 16.0;
}

const Mask& GlyphMask(Glyph g, int size) {
    // clang-format off
    static const Mask small[] = {
        {".......", "XXXXXXX", ".......", "XXXXXXX", ".......", "XXXXXXX", "......."},  // menu
        {".XXXXX.", "XX...XX", "....XX.", "...XX..", "...XX..", ".......", "...XX.."},  // help
        {"XXXXXXX", "XXXXXXX", "X.....X", "X.....X", "X.....X", "X.....X", "XXXXXXX"},  // maximise
        {"..XXXXX", "..X...X", "XXXXX.X", "XXXXX.X", "X...XXX", "X...X..", "XXXXX.."},  // restore
        {".......", ".......", ".......", ".......", ".......", "XXXXXX.", "XXXXXX."},  // minimise
        {"X.....X", "XX...XX", ".XX.XX.", "..XXX..", ".XX.XX.", "XX...XX", "X.....X"},  // close
    };
    static const Mask large[] = {
        {"XXXXXXXXX", "XXXXXXXXX", ".........", "XXXXXXXXX", "XXXXXXXXX", ".........",
         "XXXXXXXXX", "XXXXXXXXX", "........."},
        {"..XXXXX..", ".XX...XX.", ".XX...XX.", ".....XX..", "....XX...", "....XX...",
         ".........", "....XX...", "....XX..."},
        {"XXXXXXXXX", "XXXXXXXXX", "X.......X", "X.......X", "X.......X", "X.......X",
         "X.......X", "X.......X", "XXXXXXXXX"},
        {"..XXXXXXX", "..XXXXXXX", "..X.....X", "XXXXXXX.X", "XXXXXXX.X", "X.....XXX",
         "X.....X..", "X.....X..", "XXXXXXX.."},
        {".........", ".........", ".........", ".........", ".........", ".........",
         ".........", "XXXXXXX..", "XXXXXXX.."},
        {"XX.....XX", "XXX...XXX", ".XXX.XXX.", "..XXXXX..", "...XXX...", "..XXXXX..",
         ".XXX.XXX.", "XXX...XXX", "XX.....XX"},
    };
    // clang-format on
    return size >= 9 ? large[g] : small[g];
}

} // namespace art
