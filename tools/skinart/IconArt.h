#pragma once
// The program's icon: the reader's window in miniature in its DeepBlue look (the title bar's
// colour profile, the headline list in its cream colour with one line selected, a page beside
// it). One description drawn two ways: pixel by pixel at each icon size, edges snapped to whole
// pixels and the frame one device pixel wide where the icon is small, and as SVG for the
// scalable icon.
#include <QImage>
#include <QString>

namespace art {

// The icon at size x size pixels.
QImage DrawIcon(int size);
// The same icon as an SVG document with a 256-unit view box.
QString IconSvg();

// The sizes of the hicolor theme the program installs.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// Writes DIR/hicolor/<n>x<n>/apps/zelmora.png for every size and
// DIR/hicolor/scalable/apps/zelmora.svg. False when a file cannot be written.
bool WriteIcons(const QString& dir);

} // namespace art
