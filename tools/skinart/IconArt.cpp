#include "IconArt.h"

#include "ArtPixels.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace art {

namespace {

constexpr double kUnits = 256; // the description's grid

// A vertical run of colour: at unit row y the colour mixes between the stops around it; a stop
// at the same row as the one before it makes a hard edge.
struct Stop {
    double y;
    unsigned rgb;
};

struct Shape {
    double x, y, w, h, radius;
    std::vector<Stop> fill; // one stop: a plain colour
    int minSize = 0;        // drawn only in icons at least this large
};

// The window's title bar in DeepBlue's profile, then the frame's grey body.
const std::vector<Stop> kWindowFill = {{28, 0x9AA2E8}, {36, 0x7C85D6}, {40, 0x636BC4},
                                       {60, 0x4E56B0}, {62, 0x444AA0}, {80, 0x363C8E},
                                       {84, 0x24296E}, {84, 0xE8E8E8}, {232, 0xE8E8E8}};
constexpr unsigned kBorder = 0x141745;
constexpr double kBorderUnits = 4;

std::vector<Shape> shapes() {
    std::vector<Shape> s;
    // The side channel: its caption bar, the cream list, one selected line and the headlines.
    s.push_back({26, 94, 92, 128, 0, {{94, 0x5C63BE}, {108, 0x363C8E}}});
    s.push_back({30, 108, 84, 110, 0, {{0, 0xF8EDDE}}});
    s.push_back({30, 134, 84, 18, 0, {{0, 0x3D6FD0}}});
    const double rows[] = {118, 140, 162, 184, 204};
    const double lengths[] = {70, 60, 74, 52, 66};
    for (int i = 0; i < 5; ++i) {
        const unsigned ink = i == 1 ? 0xFFFFFF : 0x3A3A3A;
        s.push_back({36, rows[i], lengths[i], 8, 0, {{0, ink}}, i % 2 ? 32 : 0});
    }
    // The page in the browser pane: its site's header, a headline and the text under it.
    s.push_back({124, 94, 102, 128, 0, {{0, 0xFFFFFF}}});
    s.push_back({124, 94, 102, 22, 0, {{0, 0x1E4E8C}}});
    s.push_back({134, 128, 74, 12, 0, {{0, 0x2B2B2B}}, 24});
    const double text[] = {154, 172, 190, 206};
    const double textLengths[] = {82, 76, 82, 54};
    for (int i = 0; i < 4; ++i)
        s.push_back({134, text[i], textLengths[i], 6, 0, {{0, 0x8A8A8A}}, 32});
    // The title bar's three buttons.
    for (double x : {178.0, 196.0, 214.0})
        s.push_back({x, 46, 12, 12, 0, {{0, 0xC9CDF2}}, 32});
    return s;
}

QRgb colourAt(const std::vector<Stop>& stops, double y) {
    if (stops.size() == 1 || y <= stops.front().y)
        return Rgb(stops.front().rgb);
    for (std::size_t i = 1; i < stops.size(); ++i)
        if (y < stops[i].y) {
            const Stop& a = stops[i - 1];
            const Stop& b = stops[i];
            return Mix(Rgb(a.rgb), Rgb(b.rgb), (y - a.y) / (b.y - a.y));
        }
    return Rgb(stops.back().rgb);
}

// Unit coordinates to pixel edges, never less than one pixel across.
struct Span {
    int from, to;
};
Span snap(double at, double length, double scale) {
    const int from = int(std::lround(at * scale));
    return {from, std::max(from + 1, int(std::lround((at + length) * scale)))};
}

void drawShape(QImage& img, const Shape& sh, double scale) {
    const Span xs = snap(sh.x, sh.w, scale), ys = snap(sh.y, sh.h, scale);
    for (int py = ys.from; py < ys.to; ++py)
        for (int px = xs.from; px < xs.to; ++px) {
            const double cover = sh.radius > 0 ? RoundRectCoverage(px, py, xs.from, ys.from, xs.to - xs.from,
                                                                   ys.to - ys.from, sh.radius * scale)
                                               : 1.0;
            if (cover <= 0)
                continue;
            const QRgb c = colourAt(sh.fill, (py + 0.5) / scale);
            const QRgb under = img.pixel(px, py);
            const int alpha = qAlpha(under);
            // Over a transparent pixel the coverage is the alpha; over paint it is a blend.
            if (alpha == 0)
                img.setPixel(px, py, qRgba(qRed(c), qGreen(c), qBlue(c), int(std::lround(cover * 255))));
            else
                img.setPixel(px, py, (Mix(under, c, cover) & 0xFFFFFF) | (uint(alpha) << 24));
        }
}

} // namespace

QImage DrawIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(0);
    const double scale = size / kUnits;
    // The frame: one device pixel in small icons, thicker only where it stays thin to the eye.
    const double border = std::max(1.0, std::round(kBorderUnits * scale)) / scale;
    drawShape(img, {12, 28, 232, 204, 18, {{0, kBorder}}}, scale);
    drawShape(img, {12 + border, 28 + border, 232 - 2 * border, 204 - 2 * border, 18 - border, kWindowFill},
              scale);
    for (const Shape& sh : shapes())
        if (size >= sh.minSize)
            drawShape(img, sh, scale);
    return img;
}

QString IconSvg() {
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<!-- Written by tools/skinart; do not edit by hand. -->\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                                 "viewBox=\"0 0 256 256\">\n");
    std::vector<Shape> all = {{12, 28, 232, 204, 18, {{0, kBorder}}},
                              {12 + kBorderUnits, 28 + kBorderUnits, 232 - 2 * kBorderUnits,
                               204 - 2 * kBorderUnits, 18 - kBorderUnits, kWindowFill}};
    for (const Shape& sh : shapes())
        all.push_back(sh);
    auto hex = [](unsigned rgb) { return QStringLiteral("#%1").arg(rgb, 6, 16, QLatin1Char('0')); };
    svg += QStringLiteral("<defs>\n");
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Shape& sh = all[i];
        if (sh.fill.size() < 2)
            continue;
        svg +=
            QStringLiteral("<linearGradient id=\"g%1\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"%2\" "
                           "x2=\"0\" y2=\"%3\">")
                .arg(i)
                .arg(sh.y)
                .arg(sh.y + sh.h);
        for (const Stop& st : sh.fill)
            svg += QStringLiteral("<stop offset=\"%1\" stop-color=\"%2\"/>")
                       .arg(std::clamp((st.y - sh.y) / sh.h, 0.0, 1.0), 0, 'f', 4)
                       .arg(hex(st.rgb));
        svg += QStringLiteral("</linearGradient>\n");
    }
    svg += QStringLiteral("</defs>\n");
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Shape& sh = all[i];
        const QString fill =
            sh.fill.size() < 2 ? hex(sh.fill.front().rgb) : QStringLiteral("url(#g%1)").arg(i);
        svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"")
                   .arg(sh.x)
                   .arg(sh.y)
                   .arg(sh.w)
                   .arg(sh.h);
        if (sh.radius > 0)
            svg += QStringLiteral(" rx=\"%1\"").arg(sh.radius);
        svg += QStringLiteral(" fill=\"%1\"/>\n").arg(fill);
    }
    return svg + QStringLiteral("</svg>\n");
}

bool WriteIcons(const QString& dir) {
    const QDir root(dir);
    for (int size : kIconSizes) {
        const QString sub = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        if (!root.mkpath(sub) || !DrawIcon(size).save(root.filePath(sub + "/zelmora.png"), "PNG", 0)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(root.filePath(sub)));
            return false;
        }
    }
    if (!root.mkpath(QStringLiteral("hicolor/scalable/apps")))
        return false;
    QFile svg(root.filePath(QStringLiteral("hicolor/scalable/apps/zelmora.svg")));
    if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    svg.write(IconSvg().toUtf8());
    return true;
}

} // namespace art
