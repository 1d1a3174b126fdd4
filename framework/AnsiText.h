#pragma once
// The widget boundary for text: the reader keeps ANSI (GBK) bytes, widgets show QString.
#include <QString>

#include <string>
#include <string_view>

QString AnsiToQString(std::string_view ansi);
std::string QStringToAnsi(const QString& text);
