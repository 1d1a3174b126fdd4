#pragma once
// Where the reader found its settings and theme files, told only on request:
//
//   QT_LOGGING_RULES="zelmora.places.info=true" zelmora
//   zelmora.places: settings file: /home/me/.config/zelmora/config.ini
//   zelmora.places: theme file: /usr/share/zelmora/themes/green.sui
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcPlaces)
