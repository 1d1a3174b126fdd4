#pragma once
// Pixel tools of the artwork generator: colours, blends, gradients, masks and shapes drawn pixel
// by pixel so that the output is the same on every machine.
#include <QImage>
#include <string>
#include <vector>

namespace art {

// Colours here are 0xRRGGBB; Bgr() converts the 0x00BBGGRR values that the catalogue uses.
inline QRgb Rgb(unsigned rrggbb) {
    return 0xFF000000u | rrggbb;
}
inline QRgb Bgr(unsigned bbggrr) {
    return qRgb(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}
QRgb Mix(QRgb a, QRgb b, double t); // t = 0: a, t = 1: b
QRgb Lighter(QRgb c, double t);     // towards white
QRgb Darker(QRgb c, double t);      // towards black

QImage NewImage(int w, int h, QRgb fill);
void Fill(QImage& img, int x, int y, int w, int h, QRgb c);
void Frame(QImage& img, int x, int y, int w, int h, QRgb c);
void VGradient(QImage& img, int x, int y, int w, int h, QRgb top, QRgb bottom);
void Put(QImage& img, int x, int y, QRgb c);

// A mask is rows of characters; 'X' pixels are painted in c at (x, y).
using Mask = std::vector<std::string>;
void Stamp(QImage& img, int x, int y, const Mask& mask, QRgb c);
Mask TurnMask(const Mask& mask); // a quarter turn clockwise

// Coverage (0..1) of the pixel (px, py) by a rounded rectangle / circle, sampled 4 x 4.
double RoundRectCoverage(int px, int py, double x, double y, double w, double h, double r);
double CircleCoverage(int px, int py, double cx, double cy, double radius);

// The glyphs of the title-bar buttons, 7 x 7 and 9 x 9.
enum Glyph { gMenu, gHelp, gMax, gRestore, gMin, gClose };
const Mask& GlyphMask(Glyph g, int size);

} // namespace art
