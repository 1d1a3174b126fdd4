#include "framework/AnsiText.h"

#include "framework/core/CodePage.h"

QString AnsiToQString(std::string_view ansi) {
    // Plain ASCII needs no trip through the code page.
    bool ascii = true;
    for (unsigned char ch : ansi)
        if (ch >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return QString::fromLatin1(ansi.data(), static_cast<qsizetype>(ansi.size()));
    return QString::fromStdU16String(AnsiToUtf16(ansi));
}

std::string QStringToAnsi(const QString& text) {
    return Utf16ToAnsi(text.toStdU16String());
}
