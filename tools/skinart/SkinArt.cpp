// skinart --green-theme DIR: writes the sources of our own green theme file (BMPs named after
// their entry keys and values.ini) for `zelmora-cli theme pack`.
//
// skinart --icons DIR: draws the program's icon into DIR/hicolor (every installed size and SVG).
//
// skinart SKIN_DIR: draws every bitmap resource of the skin into SKIN_DIR/res/NAME.png and lists
// them in SKIN_DIR/skin.qrc under the prefix /bitmaps. Deterministic: the same code writes the
// same pixels.
//
// Each style is built around one vertical colour profile: the title pieces are that profile
// (so left, middle and right continue into one another, and the frame's top band shows their
// top rows), opaque title buttons sit on the same rows of it, and the accents come from the
// style's bar strip. Where the pixels are fixed (bar strips, MacOS menu strips, the check mark,
// the pin glyph) they are copied exactly.
#include "ArtPixels.h"
#include "IconArt.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

using namespace art;

namespace {

std::map<std::string, QImage> gOut;

void put(const std::string& name, const QImage& img) {
    gOut[name] = img;
}

std::vector<QRgb> bgrColumn(std::initializer_list<std::pair<unsigned, int>> runs) {
    std::vector<QRgb> col;
    for (auto [c, n] : runs)
        for (int i = 0; i < n; ++i)
            col.push_back(Bgr(c));
    return col;
}

QImage column(const std::vector<QRgb>& rows) {
    QImage img = NewImage(1, int(rows.size()), 0);
    for (size_t y = 0; y < rows.size(); ++y)
        img.setPixel(0, int(y), rows[y]);
    return img;
}

// ---------------------------------------------------------------- fixed pixels

void fixedBitmaps() {
    put("MACOS_SIDECHENNEL_BAR", column(bgrColumn({{0x7F7F7F, 1},
                                                   {0xECEDEC, 2},
                                                   {0xF3F3F3, 5},
                                                   {0xECEDEC, 5},
                                                   {0xE8E8E7, 1},
                                                   {0xE3E3E3, 3},
                                                   {0xDDDDDD, 3},
                                                   {0x7F7F7F, 1}})));
    put("WINXP_SIDECHENNEL_BAR", column(bgrColumn({{0x743C00, 1},
                                                   {0xFBFCFC, 4},
                                                   {0xF0FBFF, 1},
                                                   {0xF3F6F6, 3},
                                                   {0xEEF3F3, 8},
                                                   {0xE6EBEC, 1},
                                                   {0xD6DFE2, 1},
                                                   {0xC5D0D6, 1},
                                                   {0x743C00, 1}})));
    put("DEEPBLUE_SIDECHENNEL_BAR",
        column(bgrColumn({{0x040404, 1}, {0xAF6863, 1}, {0xA04A44, 17}, {0x88332D, 1}})));
    {
        const unsigned p[] = {0x000000, 0x962926, 0x9B312C, 0xA33532, 0x922E2C, 0x962926, 0x9B2B27,
                              0xB63634, 0xBE3D3A, 0xB63634, 0xAD2D2A, 0xA22F2C, 0xAD3632, 0xBE3D3A,
                              0xB4332E, 0xA22F2C, 0xAD2D2A, 0xB63634, 0xBE3D3A, 0xAC312E, 0xA22F2C};
        std::vector<QRgb> rows;
        for (unsigned c : p)
            rows.push_back(Bgr(c));
        put("PROTEIN_SIDECHENNEL_BAR", column(rows));
    }
    put("BLUEGLASS_SIDECHENNEL_BAR", column(bgrColumn({{0x7F7F7F, 1},
                                                       {0xF3B5B5, 2},
                                                       {0xF5A6A5, 1},
                                                       {0xEE9592, 1},
                                                       {0xEC7F7F, 1},
                                                       {0xF46968, 1},
                                                       {0xEE5D5C, 1},
                                                       {0xEB5554, 9},
                                                       {0xE45251, 3},
                                                       {0x7F7F7F, 1}})));
    {
        const unsigned bar[] = {0xE9E9E9, 0xFFFFFF, 0xFFFFFF, 0xFBFBFB, 0xE9E9E9, 0xFAFAFA,
                                0xFEFEFE, 0xFAFAFA, 0xE9E9E9, 0xFAFAFA, 0xFFFFFF, 0xFAFAFA,
                                0xE9E9E9, 0xFAFAFA, 0xFFFFFF, 0xF9F9F9, 0xEBE9E8, 0xFAFAFA,
                                0xFFFFFF, 0xFAF9FB, 0xD4D4D4, 0x5D5B5B};
        std::vector<QRgb> rows;
        for (unsigned c : bar)
            rows.push_back(Bgr(c));
        put("MACOS_MENU_BAR", column(rows));
        const unsigned sel[] = {0xB35923, 0xBC6A33, 0xC47339, 0xBC6A33, 0xB35923, 0xBC6A33, 0xC47339,
                                0xBC6A33, 0xB85C27, 0xBC6A33, 0xBF723A, 0xBC6A33, 0xB35923, 0xBC6A33,
                                0xC47339, 0xBC6A33, 0xB35923, 0xBC6A33, 0xC47339, 0xBC6A33, 0xB35923};
        rows.clear();
        for (unsigned c : sel)
            rows.push_back(Bgr(c));
        put("MACOS_MENU_SELECT", column(rows));
    }
    {
        const Mask tick = {"................", "................", "................", "................",
                           "............GGG.", "...........GGGG.", ".GGG......GGGGD.", ".GGGG....GGGGD..",
                           ".DGGGG..GGGGD...", "..DGGGGGGGGD....", "...DGGGGGGD.....", "....DGGGGD......",
                           ".....DDDD.......", "................", "................", "................"};
        QImage img = NewImage(16, 16, Rgb(0xFFFFFF));
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const char c = tick[size_t(y)][size_t(x)];
                if (c == 'G')
                    img.setPixel(x, y, Bgr(0x1DCB00));
                else if (c == 'D')
                    img.setPixel(x, y, Bgr(0x575757));
            }
        put("MENU_CHECKED", img);
    }
    {
        const Mask pin = {".XXXXX.", ".X..XX.", ".X..XX.", ".X..XX.", ".X..XX.",
                          "XXXXXXX", "...X...", "...X...", "...X..."};
        QImage img = NewImage(7, 9, Rgb(0xFFFFFF));
        Stamp(img, 0, 0, pin, Rgb(0x000000));
        put("SIDECHANNEL_BTN", img);
    }
}

// ---------------------------------------------------------------- styles

struct Style {
    std::string prefix;
    int height;                 // title pieces' height
    int leftW, clientW, rightW; // title pieces' widths
    int button;                 // one frame of the title-button strip (square)
    int buttonTop;              // picture row of the buttons (TitleBarButtonTopInt)
    bool transparentButtons;
    QRgb border;
    int corner;                                 // radius of the black corner cut of the title pieces, 0 none
    std::vector<QRgb> profile = {};             // one colour per title row, filled after
    QRgb face, accent, accentLight, accentDark; // for the smaller controls
};

std::vector<QRgb> gradientRows(std::initializer_list<std::tuple<int, QRgb, QRgb>> spans) {
    std::vector<QRgb> rows;
    for (auto [n, a, b] : spans)
        for (int i = 0; i < n; ++i)
            rows.push_back(Mix(a, b, n > 1 ? double(i) / (n - 1) : 0.0));
    return rows;
}

Style macos() {
    Style s{.prefix = "MACOS",
            .height = 23,
            .leftW = 48,
            .clientW = 49,
            .rightW = 48,
            .button = 17,
            .buttonTop = 4,
            .transparentButtons = false,
            .border = Bgr(0x7F7F7F),
            .corner = 0,
            .face = Rgb(0xDDDDDD),
            .accent = Rgb(0x3973C4),
            .accentLight = Rgb(0x8FB2E6),
            .accentDark = Rgb(0x23407A)};
    // Platinum: a white top highlight, then ridges (dark, light) across the middle of the bar.
    s.profile = {Bgr(0x7F7F7F), Rgb(0xFFFFFF), Rgb(0xEEEEEE), Rgb(0xDDDDDD), Rgb(0xDDDDDD)};
    for (int i = 0; i < 7; ++i) {
        s.profile.push_back(Rgb(0xC6C6C6));
        s.profile.push_back(Rgb(0xF8F8F8));
    }
    for (QRgb c : {Rgb(0xDDDDDD), Rgb(0xDDDDDD), Rgb(0xDDDDDD), Rgb(0xC4C4C4)})
        s.profile.push_back(c);
    s.profile.push_back(Rgb(0x8E8E8E));
    return s;
}

Style winxp() {
    Style s{.prefix = "WINXP",
            .height = 29,
            .leftW = 35,
            .clientW = 37,
            .rightW = 35,
            .button = 21,
            .buttonTop = 5,
            .transparentButtons = false,
            .border = Bgr(0xC82C00),
            .corner = 7,
            .face = Rgb(0xEFEBDE),
            .accent = Rgb(0x316AC5),
            .accentLight = Rgb(0x9DBDF0),
            .accentDark = Rgb(0x003C74)};
    s.profile = gradientRows({{1, Bgr(0xC82C00), Bgr(0xC82C00)},
                              {2, Rgb(0x5A9EFC), Rgb(0x3C8AF6)},
                              {4, Rgb(0x2A78F0), Rgb(0x0A5DE8)},
                              {15, Rgb(0x0058E6), Rgb(0x0050DC)},
                              {5, Rgb(0x004CD4), Rgb(0x003CBC)},
                              {2, Rgb(0x0034A8), Rgb(0x002A94)}});
    return s;
}

Style deepblue() {
    Style s{.prefix = "DEEPBLUE",
            .height = 32,
            .leftW = 97,
            .clientW = 98,
            .rightW = 97,
            .button = 19,
            .buttonTop = 2,
            .transparentButtons = false,
            .border = Rgb(0x000000),
            .corner = 0,
            .face = Bgr(0xE8E8E8),
            .accent = Rgb(0x444AA0),
            .accentLight = Rgb(0x8F97DD),
            .accentDark = Rgb(0x2D3388)};
    s.profile = gradientRows({{1, Rgb(0x000000), Rgb(0x000000)},
                              {2, Rgb(0x9AA2E8), Rgb(0x7C85D6)},
                              {12, Rgb(0x636BC4), Rgb(0x4E56B0)},
                              {14, Rgb(0x444AA0), Rgb(0x363C8E)},
                              {2, Rgb(0x2D3380), Rgb(0x24296E)},
                              {1, Rgb(0x141745), Rgb(0x141745)}});
    return s;
}

Style protein() {
    Style s{.prefix = "PROTEIN",
            .height = 23,
            .leftW = 441,
            .clientW = 1,
            .rightW = 1,
            .button = 19,
            .buttonTop = 2,
            .transparentButtons = true,
            .border = Rgb(0x000000),
            .corner = 0,
            .face = Bgr(0xFBFBFB),
            .accent = Rgb(0x2D30C4),
            .accentLight = Rgb(0x8C90EC),
            .accentDark = Rgb(0x1E2080)};
    // The caption bar's banded blues, continued by two shadow rows.
    const unsigned p[] = {0x000000, 0x962926, 0x9B312C, 0xA33532, 0x922E2C, 0x962926, 0x9B2B27,
                          0xB63634, 0xBE3D3A, 0xB63634, 0xAD2D2A, 0xA22F2C, 0xAD3632, 0xBE3D3A,
                          0xB4332E, 0xA22F2C, 0xAD2D2A, 0xB63634, 0xBE3D3A, 0xAC312E, 0xA22F2C};
    for (unsigned c : p)
        s.profile.push_back(Bgr(c));
    s.profile.push_back(Rgb(0x1C1E78));
    s.profile.push_back(Rgb(0x101250));
    return s;
}

Style blueglass() {
    Style s{.prefix = "BLUEGLASS",
            .height = 33,
            .leftW = 162,
            .clientW = 179,
            .rightW = 101,
            .button = 19,
            .buttonTop = 6,
            .transparentButtons = true,
            .border = Rgb(0x000000),
            .corner = 11,
            .face = Bgr(0xE7E7E7),
            .accent = Rgb(0x5455EB),
            .accentLight = Rgb(0xB5B5F3),
            .accentDark = Rgb(0x2A34A8)};
    // Glass: a lighter upper half, a sharp edge, a saturated lower half that brightens downwards.
    s.profile = gradientRows({{1, Rgb(0x000000), Rgb(0x000000)},
                              {1, Rgb(0xD8E0FF), Rgb(0xD8E0FF)},
                              {14, Rgb(0x9CACF6), Rgb(0x6C7EEC)},
                              {14, Rgb(0x3A48D8), Rgb(0x5A70F0)},
                              {2, Rgb(0x3C48C8), Rgb(0x2A34A8)},
                              {1, Rgb(0x1C2480), Rgb(0x1C2480)}});
    return s;
}

// ---------------------------------------------------------------- title pieces

QImage profileImage(const Style& s, int w) {
    QImage img = NewImage(w, s.height, 0);
    for (int y = 0; y < s.height; ++y)
        Fill(img, 0, y, w, 1, s.profile[size_t(y)]);
    return img;
}

// Cuts a rounded top corner: pixels outside the radius take the border colour, the ring just
// inside it a lighter tone (left) or darker (right).
void cutCorner(QImage& img, const Style& s, bool left) {
    const int r = s.corner;
    if (r <= 0)
        return;
    for (int y = 0; y < r; ++y)
        for (int i = 0; i < r; ++i) {
            const int x = left ? i : img.width() - 1 - i;
            const double dx = r - i - 0.5, dy = r - y - 0.5;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d > r || i == 0)
                img.setPixel(x, y, s.border);
            else if (d > r - 1.2 && y > 0)
                img.setPixel(x, y,
                             left ? Lighter(s.profile[size_t(y)], 0.35) : Darker(s.profile[size_t(y)], 0.2));
        }
}

void titlePieces(const Style& s) {
    QImage left = profileImage(s, s.leftW);
    QImage client = profileImage(s, s.clientW);
    QImage right = profileImage(s, s.rightW);
    // Outer border column, then a bevel: lighter inside the left edge, darker inside the right.
    for (int y = 1; y < s.height; ++y) {
        left.setPixel(0, y, s.border);
        if (s.leftW > 2)
            left.setPixel(1, y, Lighter(s.profile[size_t(y)], 0.25));
        if (s.rightW > 2) {
            right.setPixel(s.rightW - 1, y, s.border);
            right.setPixel(s.rightW - 2, y, Darker(s.profile[size_t(y)], 0.18));
        }
    }
    if (s.prefix == "PROTEIN") {
        // A faint double helix running out of the left piece into the plain bar.
        for (int x = 150; x < s.leftW; ++x) {
            const double fade = std::min((x - 150) / 60.0, 1.0) * std::min((s.leftW - x) / 90.0, 1.0);
            for (int strand = 0; strand < 2; ++strand) {
                const double yc = 11.5 + 6.0 * std::sin(x / 13.0 + strand * M_PI);
                for (int y = 2; y < s.height - 2; ++y) {
                    const double near = std::max(0.0, 1.0 - std::abs(y - yc) / 1.6);
                    if (near > 0)
                        left.setPixel(x, y, Lighter(left.pixel(x, y), 0.15 * near * fade));
                }
            }
        }
    }
    if (s.prefix == "BLUEGLASS") {
        // A soft reflection on the glass's upper half, left of where the caption usually ends.
        for (int x = 2; x < s.leftW; ++x)
            for (int y = 2; y < 16; ++y) {
                const double dx = (x - 60) / 70.0, dy = (y - 6) / 9.0;
                const double glow = std::max(0.0, 1.0 - dx * dx - dy * dy);
                left.setPixel(x, y, Lighter(left.pixel(x, y), 0.18 * glow));
            }
    }
    cutCorner(left, s, true);
    cutCorner(right, s, false);
    put(s.prefix + "_TITLE_LEFT", left);
    put(s.prefix + "_TITLE_CLIENT", client);
    put(s.prefix + "_TITLE_RIGHT", right);
}

// ---------------------------------------------------------------- title buttons

enum State { sNormal, sHover, sDown };
const QRgb kKey = Rgb(0xFF00FF); // transparent colour of Protein and BlueGlass buttons

struct Body {
    QRgb top, bottom, border;
};

// One 18-frame strip: menu, help, maximise, restore, minimise, close; normal, hover, pressed.
void titleButtons(const Style& s, const std::function<void(QImage&, int x0, Glyph, State)>& drawButton) {
    const int n = s.button;
    QImage strip = NewImage(n * 18, n, kKey);
    const Glyph order[] = {gMenu, gHelp, gMax, gRestore, gMin, gClose};
    for (int g = 0; g < 6; ++g)
        for (int st = 0; st < 3; ++st) {
            const int x0 = (g * 3 + st) * n;
            if (!s.transparentButtons)
                for (int y = 0; y < n; ++y)
                    Fill(strip, x0, y, n, 1, s.profile[size_t(s.buttonTop + y)]);
            drawButton(strip, x0, order[g], State(st));
        }
    put(s.prefix + "_TITLEBTN", strip);
}

// A shape given by coverage, filled with a vertical gradient and a border ring; partial pixels
// blend with what is beneath, or with the title row colour over the transparent key.
void paintShape(QImage& img, const Style& s, int x0, const std::function<double(int, int)>& coverage,
                const std::function<double(int, int)>& inner, const Body& b) {
    const int n = s.button;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const double c = coverage(x, y);
            if (c <= 0)
                continue;
            const double in = inner(x, y);
            QRgb fill = Mix(b.top, b.bottom, double(y) / (n - 1));
            fill = Mix(b.border, fill, in);
            QRgb under = img.pixel(x0 + x, y);
            if (under == kKey) {
                if (c < 0.5)
                    continue;
                under = s.profile[size_t(s.buttonTop + y)];
            }
            img.setPixel(x0 + x, y, Mix(under, fill, c));
        }
}

Body shade(Body b, State st) {
    if (st == sHover)
        return {Lighter(b.top, 0.3), Lighter(b.bottom, 0.25), b.border};
    if (st == sDown)
        return {Darker(b.bottom, 0.25), Darker(b.top, 0.1), b.border};
    return b;
}

void glyph(QImage& img, int x, int y, Glyph g, int size, QRgb c, QRgb shadow = 0) {
    if (shadow)
        Stamp(img, x + 1, y + 1, GlyphMask(g, size), shadow);
    Stamp(img, x, y, GlyphMask(g, size), c);
}

void macosButton(QImage& img, const Style& s, int x0, Glyph g, State st) {
    // The ridges stop short of the box, as on the platinum bar.
    Fill(img, x0, 0, s.button, s.button, Rgb(0xDDDDDD));
    const int bx = x0 + 2, by = 2, bw = 13;
    Frame(img, bx, by, bw, bw, st == sHover ? s.accent : Rgb(0x4A4A4A));
    if (st == sDown) {
        VGradient(img, bx + 1, by + 1, bw - 2, bw - 2, Rgb(0x8A8A8A), Rgb(0xB4B4B4));
        Fill(img, bx + 1, by + 1, bw - 2, 1, Rgb(0x6E6E6E));
        Fill(img, bx + 1, by + 1, 1, bw - 2, Rgb(0x6E6E6E));
    } else {
        VGradient(img, bx + 1, by + 1, bw - 2, bw - 2, Rgb(0xFBFBFB),
                  st == sHover ? Rgb(0xC9D8F0) : Rgb(0xC2C2C2));
        Fill(img, bx + 1, by + 1, bw - 2, 1, Rgb(0xFFFFFF));
        Fill(img, bx + bw - 2, by + 2, 1, bw - 3, Rgb(0x9A9A9A));
        Fill(img, bx + 2, by + bw - 2, bw - 3, 1, Rgb(0x9A9A9A));
    }
    const int off = st == sDown ? 1 : 0;
    glyph(img, bx + 3 + off, by + 3 + off, g, 7, st == sDown ? Rgb(0xFFFFFF) : Rgb(0x000000));
}

void winxpButton(QImage& img, const Style& s, int x0, Glyph g, State st) {
    const bool close = g == gClose;
    Body b = close ? Body{.top = Rgb(0xEC9A7A), .bottom = Rgb(0xC23C14), .border = Rgb(0xFFFFFF)}
                   : Body{.top = Rgb(0x6FA4FF), .bottom = Rgb(0x1A5BDE), .border = Rgb(0xFFFFFF)};
    b = shade(b, st);
    const int n = s.button;
    paintShape(
        img, s, x0, [&](int x, int y) { return RoundRectCoverage(x, y, 0, 0, n, n, 3.5); },
        [&](int x, int y) { return RoundRectCoverage(x, y, 1, 1, n - 2, n - 2, 2.5); }, b);
    const int off = st == sDown ? 1 : 0;
    glyph(img, x0 + 6 + off, 6 + off, g, 9, Rgb(0xFFFFFF));
}

void deepblueButton(QImage& img, const Style& s, int x0, Glyph g, State st) {
    Body b{.top = Rgb(0x8C95E6), .bottom = Rgb(0x3E45A6), .border = Rgb(0x161A50)};
    if (g == gClose && st != sNormal)
        b = {Rgb(0xF09090), Rgb(0xB02424), Rgb(0x4A0C0C)};
    b = shade(b, st == sHover && g == gClose ? sNormal : st);
    paintShape(
        img, s, x0, [&](int x, int y) { return RoundRectCoverage(x, y, 2, 2, 15, 15, 2.5); },
        [&](int x, int y) { return RoundRectCoverage(x, y, 3, 3, 13, 13, 1.5); }, b);
    if (st != sDown)
        for (int x = 4; x < 15; ++x) // glossy top line
            img.setPixel(x0 + x, 3, Lighter(img.pixel(x0 + x, 3), 0.45));
    const int off = st == sDown ? 1 : 0;
    glyph(img, x0 + 6 + off, 6 + off, g, 7, Rgb(0xFFFFFF));
}

void proteinButton(QImage& img, const Style& s, int x0, Glyph g, State st) {
    Body b = g == gClose ? Body{.top = Rgb(0xF5907E), .bottom = Rgb(0xA81C12), .border = Rgb(0x3C0806)}
                         : Body{.top = Rgb(0x8A96F5), .bottom = Rgb(0x262EA6), .border = Rgb(0x0C1048)};
    b = shade(b, st);
    paintShape(
        img, s, x0, [&](int x, int y) { return CircleCoverage(x, y, 9.5, 9.5, 8.2); },
        [&](int x, int y) { return CircleCoverage(x, y, 9.5, 9.5, 7.2); }, b);
    if (st != sDown) // specular highlight
        for (int y = 3; y < 8; ++y)
            for (int x = 5; x < 15; ++x) {
                const double dx = (x + 0.5 - 9.5) / 4.6, dy = (y + 0.5 - 5.2) / 2.4;
                const double h = 1.0 - dx * dx - dy * dy;
                if (h > 0)
                    img.setPixel(x0 + x, y, Lighter(img.pixel(x0 + x, y), 0.45 * std::min(1.0, h * 2)));
            }
    const int off = st == sDown ? 1 : 0;
    glyph(img, x0 + 6 + off, 6 + off, g, 7, Rgb(0xFFFFFF), st == sDown ? 0 : Darker(b.bottom, 0.4));
}

void blueglassButton(QImage& img, const Style& s, int x0, Glyph g, State st) {
    const bool close = g == gClose;
    QRgb t0 = close ? Rgb(0xFFD8D0) : Rgb(0xE0E8FF), t1 = close ? Rgb(0xF49C8C) : Rgb(0xA6B6F8);
    QRgb b0 = close ? Rgb(0xC82A1C) : Rgb(0x3F55DE), b1 = close ? Rgb(0xF07050) : Rgb(0x7E98F8);
    if (st == sHover) {
        t1 = Lighter(t1, 0.3);
        b0 = Lighter(b0, 0.25);
        b1 = Lighter(b1, 0.3);
    } else if (st == sDown) {
        t0 = Darker(t0, 0.25);
        t1 = Darker(t1, 0.3);
        b0 = Darker(b0, 0.3);
        b1 = Darker(b1, 0.2);
    }
    const QRgb border = close ? Rgb(0x6A1008) : Rgb(0x16227A);
    const int n = s.button;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const double c = RoundRectCoverage(x, y, 1, 1, 17, 17, 4);
            if (c <= 0)
                continue;
            const double in = RoundRectCoverage(x, y, 2, 2, 15, 15, 3);
            const QRgb body = y < 9 ? Mix(t0, t1, (y - 2) / 6.0) : Mix(b0, b1, (y - 9) / 8.0);
            QRgb under = img.pixel(x0 + x, y);
            if (under == kKey) {
                if (c < 0.5)
                    continue;
                under = s.profile[size_t(s.buttonTop + y)];
            }
            img.setPixel(x0 + x, y, Mix(under, Mix(border, body, in), c));
        }
    const int off = st == sDown ? 1 : 0;
    glyph(img, x0 + 6 + off, 6 + off, g, 7, Rgb(0xFFFFFF), close ? Rgb(0x5A0C06) : Rgb(0x101860));
}

// ---------------------------------------------------------------- side-channel handles

void sideHandle(const Style& s, int w, int h) {
    QImage img = NewImage(w, h, s.face);
    const int x0 = w >= 8 ? 1 : 0, bw = w - (w >= 8 ? 2 : 0);
    if (s.prefix == "MACOS") {
        // Platinum grip: a raised strip with ridges.
        VGradient(img, x0, 0, bw, h, Rgb(0xE4E4E4), Rgb(0xD0D0D0));
        Frame(img, x0, 0, bw, h, Rgb(0x8A8A8A));
        for (int y = 6; y < h - 6; y += 3) {
            Fill(img, x0 + 1, y, bw - 2, 1, Rgb(0xFFFFFF));
            Fill(img, x0 + 1, y + 1, bw - 2, 1, Rgb(0x9C9C9C));
        }
    } else {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const double c = RoundRectCoverage(x, y, x0, 0, bw, h, bw / 2.0);
                if (c <= 0)
                    continue;
                const double in = RoundRectCoverage(x, y, x0 + 1, 1, bw - 2, h - 2, bw / 2.0 - 1);
                // Lit from the left: the body shades across its width.
                const QRgb body = Mix(s.accentLight, s.accent, double(x - x0) / std::max(1, bw - 1));
                img.setPixel(x, y, Mix(s.face, Mix(s.accentDark, body, in), c));
            }
        if (s.prefix == "BLUEGLASS")
            for (int y = 2; y < h - 2; ++y)
                img.setPixel(x0 + 1, y, Lighter(img.pixel(x0 + 1, y), 0.55));
        // Grip dots in the middle.
        const int cx = x0 + bw / 2 - 1;
        for (int y = h / 2 - 12; y <= h / 2 + 10; y += 4) {
            Put(img, cx, y, Lighter(s.accentLight, 0.7));
            Put(img, cx + 1, y + 1, s.accentDark);
        }
    }
    put(s.prefix + "_SIDECHENNEL_HANDLE", img);
}

// ---------------------------------------------------------------- smaller controls
// These resources are named by the table for controls the reader does not use; they follow each
// style's palette so that a theme built on them looks of a piece.

void pushButton(const Style& s) {
    const int fw = 20, h = 21;
    QImage img = NewImage(fw * 4, h, s.face);
    for (int f = 0; f < 4; ++f) {
        const int x0 = f * fw;
        const QRgb border = f == 3 ? Rgb(0xA0A0A0) : (f == 1 ? s.accent : s.accentDark);
        QRgb top = Rgb(0xFFFFFF), bottom = Darker(s.face, 0.12);
        if (f == 2)
            std::swap(top, bottom);
        if (f == 3)
            bottom = s.face;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < fw; ++x) {
                const double c = RoundRectCoverage(x, y, 0, 0, fw, h, 3);
                const double in = RoundRectCoverage(x, y, 1, 1, fw - 2, h - 2, 2);
                const QRgb body = Mix(top, bottom, double(y) / (h - 1));
                img.setPixel(x0 + x, y, Mix(s.face, Mix(border, body, in), c));
            }
    }
    put(s.prefix + "_BUTTON", img);
}

void checkLike(const Style& s, const std::string& suffix, bool round) {
    const int n = 13;
    QImage img = NewImage(n * 4, n, s.face);
    const Mask tick = {".......", "......X", ".....XX", "X...XX.", "XX.XX..", ".XXX...", "..X...."};
    for (int f = 0; f < 4; ++f) {
        const int x0 = f * n;
        const bool disabled = f >= 2, checked = f % 2 == 1;
        const QRgb border = disabled ? Rgb(0xB0B0B0) : s.accentDark;
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                const double c = round ? CircleCoverage(x, y, 6.5, 6.5, 6.4) : (x < 13 && y < 13 ? 1.0 : 0.0);
                const double in = round ? CircleCoverage(x, y, 6.5, 6.5, 5.4)
                                        : (x > 0 && y > 0 && x < 12 && y < 12 ? 1.0 : 0.0);
                const QRgb body =
                    disabled ? s.face : Mix(Darker(s.face, 0.08), Rgb(0xFFFFFF), double(y) / 12);
                img.setPixel(x0 + x, y, Mix(s.face, Mix(border, body, in), c));
            }
        if (checked) {
            const QRgb mark = disabled ? Rgb(0xA0A0A0) : s.accent;
            if (round) {
                for (int y = 0; y < n; ++y)
                    for (int x = 0; x < n; ++x) {
                        const double c = CircleCoverage(x, y, 6.5, 6.5, 2.6);
                        if (c > 0)
                            img.setPixel(x0 + x, y, Mix(img.pixel(x0 + x, y), mark, c));
                    }
            } else {
                Stamp(img, x0 + 3, 3, tick, mark);
            }
        }
    }
    put(s.prefix + suffix, img);
}

void progressAndTrack(const Style& s) {
    QImage progress = NewImage(20, 14, s.face);
    Frame(progress, 0, 0, 10, 14, Darker(s.face, 0.35));
    VGradient(progress, 1, 1, 8, 12, Rgb(0xFFFFFF), s.face);
    VGradient(progress, 11, 1, 8, 12, s.accentLight, s.accent);
    Fill(progress, 11, 1, 8, 1, Lighter(s.accentLight, 0.5));
    put(s.prefix + "_PROGRESSBAR", progress);

    QImage bar = NewImage(20, 5, s.face);
    Frame(bar, 0, 0, 20, 5, Darker(s.face, 0.4));
    Fill(bar, 1, 1, 18, 1, Darker(s.face, 0.2));
    Fill(bar, 1, 2, 18, 2, Rgb(0xFFFFFF));
    put(s.prefix + "_TRACKBAR_BAR", bar);

    // A slider that points down, and the same turned for vertical bars.
    const Mask shape = {"XXXXXXXXXXX", "XXXXXXXXXXX", "XXXXXXXXXXX", "XXXXXXXXXXX", "XXXXXXXXXXX",
                        "XXXXXXXXXXX", "XXXXXXXXXXX", "XXXXXXXXXXX", "XXXXXXXXXXX", "XXXXXXXXXXX",
                        "XXXXXXXXXXX", "XXXXXXXXXXX", "XXXXXXXXXXX", "XXXXXXXXXXX", ".XXXXXXXXX.",
                        "..XXXXXXX..", "...XXXXX...", "....XXX....", ".....X.....", "..........."};
    QImage slider = NewImage(11, 20, s.face);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 11; ++x)
            if (shape[size_t(y)][size_t(x)] == 'X') {
                const bool edge = x == 0 || x == 10 || y == 0 ||
                                  shape[size_t(y)][size_t(x == 0 ? 0 : x - 1)] != 'X' || x == 10 ||
                                  (y + 1 < 20 && shape[size_t(y + 1)][size_t(x)] != 'X') ||
                                  (x + 1 < 11 && shape[size_t(y)][size_t(x + 1)] != 'X');
                slider.setPixel(x, y, edge ? s.accentDark : Mix(s.accentLight, s.accent, x / 10.0));
            }
    put(s.prefix + "_TRACKBAR_SLIDER", slider);
    QImage turned = NewImage(20, 11, s.face);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 11; ++x)
            turned.setPixel(19 - y, x, slider.pixel(x, y));
    put(s.prefix + "_TRACKBAR_SLIDER_V", turned);
}

void scrollParts(const Style& s) {
    const Mask up = {"...X...", "..XXX..", ".XXXXX.", "XXXXXXX"};
    QImage buttons = NewImage(64, 16, s.face);
    Mask m = up;
    for (int f = 0; f < 4; ++f) {
        const int x0 = f * 16;
        VGradient(buttons, x0 + 1, 1, 14, 14, Rgb(0xFFFFFF), Darker(s.face, 0.1));
        Frame(buttons, x0, 0, 16, 16, s.accentDark);
        // up, down, left, right
        Mask g = f == 0   ? up
                 : f == 1 ? TurnMask(TurnMask(up))
                 : f == 2 ? TurnMask(TurnMask(TurnMask(up)))
                          : TurnMask(up);
        const int gw = int(g[0].size()), gh = int(g.size());
        Stamp(buttons, x0 + (16 - gw) / 2, (16 - gh) / 2, g, s.accentDark);
    }
    put(s.prefix + "_SCROLLBAR_BUTTON", buttons);

    QImage thumb = NewImage(48, 16, s.face);
    for (int f = 0; f < 3; ++f) {
        const int x0 = f * 16;
        const QRgb a = f == 1 ? Lighter(s.accentLight, 0.2) : f == 2 ? s.accent : s.accentLight;
        for (int x = 1; x < 15; ++x)
            Fill(thumb, x0 + x, 1, 1, 14, Mix(Lighter(a, 0.3), a, x / 14.0));
        Frame(thumb, x0, 0, 16, 16, s.accentDark);
        for (int y = 5; y <= 10; y += 2)
            Fill(thumb, x0 + 5, y, 6, 1, Lighter(a, 0.6));
    }
    put(s.prefix + "_SCROLLBAR_TRACK", thumb);
}

void menuScrollButton(const std::string& name, const Style& s) {
    const Mask up = {"...X...", "..XXX..", ".XXXXX.", "XXXXXXX"};
    QImage img = NewImage(32, 9, s.face);
    Stamp(img, 4 + 1, 2, up, s.accentDark);
    Stamp(img, 16 + 5, 2, TurnMask(TurnMask(up)), s.accentDark);
    put(name, img);
}

void tabs(const Style& s) {
    const int fw = 30, h = 21;
    QImage img = NewImage(fw * 3, h, s.face);
    for (int f = 0; f < 3; ++f) {
        const int x0 = f * fw;
        const bool active = f == 1;
        const int top = active ? 0 : 2;
        const QRgb t = active ? Rgb(0xFFFFFF) : f == 2 ? Lighter(s.accentLight, 0.6) : Darker(s.face, 0.05);
        for (int y = top; y < h; ++y)
            for (int x = 0; x < fw; ++x) {
                const double c = RoundRectCoverage(x, y, 0, top, fw, h - top + 4, 3);
                const double in = RoundRectCoverage(x, y, 1, top + 1, fw - 2, h - top + 4, 2);
                img.setPixel(x0 + x, y, Mix(s.face, Mix(s.accentDark, Mix(t, s.face, double(y) / h), in), c));
            }
        if (active)
            Fill(img, x0 + 1, 0, fw - 2, 2, s.accent);
    }
    put(s.prefix + "_TAB", img);
    QImage line = NewImage(1, 4, Rgb(0xFFFFFF));
    line.setPixel(0, 0, s.accentDark);
    line.setPixel(0, 3, s.face);
    put(s.prefix + "_TAB_LINE", line);
}

// ---------------------------------------------------------------- shared pieces

void panelButton() {
    const Mask chevrons = {"...X...", "..XXX..", ".XX.XX.", "XX...XX",
                           "...X...", "..XXX..", ".XX.XX.", "XX...XX"};
    const Mask down = TurnMask(TurnMask(chevrons));
    QImage img = NewImage(52, 12, Rgb(0xFFFFFF));
    for (int f = 0; f < 4; ++f) {
        const int x0 = f * 13;
        const bool hot = f % 2 == 1;
        VGradient(img, x0 + 1, 1, 11, 10, Rgb(0xFFFFFF), hot ? Rgb(0xDCE6FA) : Rgb(0xD9DDE6));
        Frame(img, x0, 0, 13, 12, hot ? Rgb(0x4F7FD8) : Rgb(0x5A6786));
        // Rounded look: the frame's corners take the mid tone.
        for (auto [cx, cy] : {std::pair{0, 0}, {12, 0}, {0, 11}, {12, 11}})
            img.setPixel(x0 + cx, cy, hot ? Rgb(0xA8C0EC) : Rgb(0xA9B0C2));
        Stamp(img, x0 + 3, 2, f < 2 ? chevrons : down, hot ? Rgb(0x3C7CF0) : Rgb(0x1A3590));
    }
    put("PANEL_BUTTON", img);
}

void formBackgrounds() {
    QImage mac = NewImage(8, 8, Bgr(0xE7E7E7));
    for (int y = 1; y < 8; y += 2)
        Fill(mac, 0, y, 8, 1, Rgb(0xEEEEEE)); // fine pinstripes
    put("MACOS_FORM_BACKGROUND", mac);
    QImage protein = NewImage(8, 8, Bgr(0xFBFBFB));
    for (int i = 0; i < 8; ++i)
        protein.setPixel(i, (i + 4) % 8, Rgb(0xF1F2F8)); // a faint diagonal weave
    protein.setPixel(2, 2, Rgb(0xECEDF6));
    put("PROTEIN_FORM_BACKGROUND", protein);
}

// ---------------------------------------------------------------- the green theme file

// Our own theme file's pictures: DeepBlue's layout in a forest green. Written as BMP files named
// after their entry keys, beside the values.ini that `zelmora-cli theme pack` reads with them.
Style green() {
    Style s{.prefix = "GREEN",
            .height = 32,
            .leftW = 97,
            .clientW = 98,
            .rightW = 97,
            .button = 19,
            .buttonTop = 2,
            .transparentButtons = false,
            .border = Rgb(0x000000),
            .corner = 0,
            .face = Bgr(0xE6EEE8),
            .accent = Rgb(0x3E8A4A),
            .accentLight = Rgb(0x8FD09A),
            .accentDark = Rgb(0x24602D)};
    s.profile = gradientRows({{1, Rgb(0x000000), Rgb(0x000000)},
                              {2, Rgb(0x9BE0A5), Rgb(0x7CCB88)},
                              {12, Rgb(0x5FB36C), Rgb(0x4C9F59)},
                              {14, Rgb(0x3E8A4A), Rgb(0x327A3D)},
                              {2, Rgb(0x2A6A33), Rgb(0x225A2A)},
                              {1, Rgb(0x0F3514), Rgb(0x0F3514)}});
    return s;
}

void greenButton(QImage& img, const Style& s, int x0, Glyph g, State st) {
    Body b{.top = Rgb(0x8CD696), .bottom = Rgb(0x3E9A4A), .border = Rgb(0x16481C)};
    if (g == gClose && st != sNormal)
        b = {Rgb(0xF09090), Rgb(0xB02424), Rgb(0x4A0C0C)};
    b = shade(b, st == sHover && g == gClose ? sNormal : st);
    paintShape(
        img, s, x0, [&](int x, int y) { return RoundRectCoverage(x, y, 2, 2, 15, 15, 2.5); },
        [&](int x, int y) { return RoundRectCoverage(x, y, 3, 3, 13, 13, 1.5); }, b);
    if (st != sDown)
        for (int x = 4; x < 15; ++x)
            img.setPixel(x0 + x, 3, Lighter(img.pixel(x0 + x, 3), 0.45));
    const int off = st == sDown ? 1 : 0;
    glyph(img, x0 + 6 + off, 6 + off, g, 7, Rgb(0xFFFFFF));
}

const char* const kGreenValues =
    R"(; The green theme's values: integers (colours as 0x00BBGGRR), bytes (flags) and texts.
; Packed with the BMP files beside it by: zelmora-cli theme pack themes/green themes/green.sui
[integer]
TitleBarButtonLeftOffsetInt=0
TitleBarButtonRightOffsetInt=0
TitleBarButtonTopInt=2
FormMinWidthInt=130
FormRoundCornerInt=0
FormBackgroundColor=0xE6EEE8
FormBorderColor=0x1E4A14
FormBorderWidthInt=1
MenuSelectedBorderColor=0x4A8A3A
MenuSelectedBackgroundColor=0x4A8A3A
MenuSelectedFontColor=0xFFFFFF
MenuBackgroundColor=0xFFFFFF
MenuFontColor=0x000000
MenuBarColor=0xD0DCD2
ControlBorderColor=0x1E4A14
ControlBackgroundColor=0xE6EEE8
ControlFontColor=0x000000
ScrollBarBackgroundColor=0xF3F5F3
ToolBarButtonBorderColor=0x474747
ToolBarButtonBackgroundColor=0xEFEFEF
ToolBarButtonDownBackgroundColor=0xD8D8D8
[byte]
ButtonTransparentBool=0
TitleBarButtonTransparentBool=0
[text]
Name=Zelmora Green
Author=Zelmora
)";

bool writeGreenSources(const QString& out) {
    gOut.clear();
    const Style s = green();
    titlePieces(s);
    titleButtons(s, [&](QImage& img, int x0, Glyph g, State st) { greenButton(img, s, x0, g, st); });
    sideHandle(s, 8, 83);
    put("GREEN_SIDECHENNEL_BAR",
        column({Rgb(0x040404), Rgb(0x6FB877), Rgb(0x3A8A4A), Rgb(0x3A8A4A), Rgb(0x3A8A4A),
                Rgb(0x3A8A4A), Rgb(0x3A8A4A), Rgb(0x3A8A4A), Rgb(0x3A8A4A), Rgb(0x3A8A4A),
                Rgb(0x3A8A4A), Rgb(0x3A8A4A), Rgb(0x3A8A4A), Rgb(0x3A8A4A), Rgb(0x3A8A4A),
                Rgb(0x3A8A4A), Rgb(0x3A8A4A), Rgb(0x3A8A4A), Rgb(0x3A8A4A), Rgb(0x2D6E38)}));
    const std::pair<const char*, const char*> keys[] = {
        {"GREEN_TITLEBTN", "TitleBarButtonImage"},
        {"GREEN_TITLE_LEFT", "TitleBarLeftImage"},
        {"GREEN_TITLE_CLIENT", "TitleBarClientImage"},
        {"GREEN_TITLE_RIGHT", "TitleBarRightImage"},
        {"GREEN_SIDECHENNEL_HANDLE", "SideChannelHandleImage"},
        {"GREEN_SIDECHENNEL_BAR", "SideChannelBarImage"}};
    QDir dir(out);
    if (!dir.mkpath("."))
        return false;
    for (const auto& [name, key] : keys) {
        const QString file = dir.filePath(QString::fromLatin1(key) + ".bmp");
        if (!gOut.at(name).convertToFormat(QImage::Format_RGB888).save(file, "BMP")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return false;
        }
    }
    QFile f(dir.filePath("values.ini"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    f.write(kGreenValues);
    return true;
}

bool writeAll(const QString& skinDir) {
    QDir dir(skinDir);
    if (!dir.mkpath("res"))
        return false;
    QString qrc =
        "<!DOCTYPE RCC>\n<!-- Written by tools/skinart; do not edit by hand. -->\n<RCC version=\"1.0\">\n"
        "<qresource prefix=\"/bitmaps\">\n";
    for (const auto& [name, img] : gOut) {
        const QString file = QString::fromStdString("res/" + name + ".png");
        if (!img.convertToFormat(QImage::Format_RGB32).save(dir.filePath(file), "PNG", 0)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(dir.filePath(file)));
            return false;
        }
        qrc += QString("  <file alias=\"%1\">%2</file>\n").arg(QString::fromStdString(name), file);
    }
    qrc += "</qresource>\n</RCC>\n";
    QFile f(dir.filePath("skin.qrc"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    f.write(qrc.toUtf8());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--icons") {
        if (!WriteIcons(QString::fromLocal8Bit(argv[2])))
            return 1;
        std::printf("icons written\n");
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--green-theme") {
        if (!writeGreenSources(QString::fromLocal8Bit(argv[2])))
            return 1;
        std::printf("green theme sources written\n");
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: skinart SKIN_DIR | skinart --green-theme DIR | skinart --icons DIR\n");
        return 2;
    }
    fixedBitmaps();
    const Style styles[] = {macos(), winxp(), deepblue(), protein(), blueglass()};
    const std::pair<int, int> handles[] = {{7, 84}, {8, 86}, {8, 83}, {8, 83}, {8, 86}};
    for (int i = 0; i < 5; ++i) {
        const Style& s = styles[i];
        titlePieces(s);
        using Draw = void (*)(QImage&, const Style&, int, Glyph, State);
        const Draw draws[] = {macosButton, winxpButton, deepblueButton, proteinButton, blueglassButton};
        titleButtons(s, [&](QImage& img, int x0, Glyph g, State st) { draws[i](img, s, x0, g, st); });
        sideHandle(s, handles[i].first, handles[i].second);
        pushButton(s);
        checkLike(s, "_CHECKBOX", false);
        checkLike(s, "_RADIOBUTTON", true);
        checkLike(s, "_CHECKLIST", false);
        progressAndTrack(s);
        scrollParts(s);
        tabs(s);
    }
    menuScrollButton("MACOS_SCROLLBUTTON", styles[0]);
    menuScrollButton("WINXP_SCROLLBUTTON", styles[1]);
    menuScrollButton("MORE_SCROLLBUTTON", styles[2]);
    panelButton();
    formBackgrounds();
    if (!writeAll(QString::fromLocal8Bit(argv[1])))
        return 1;
    std::printf("%zu bitmaps written\n", gOut.size());
    return 0;
}
