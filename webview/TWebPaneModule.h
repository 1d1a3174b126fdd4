#pragma once
// Finds and loads the browser pane's engine module (webpane.so) on first use, once per process.
// It is looked for relative to the executable, so an installed or moved reader finds its own:
//
//   ZELMORA_WEBPANE                       a path to the module, when set
//   <exe dir>/<bin dir to lib dir>/zelmora/   the installed place (lib/x86_64-linux-gnu/... too)
//   <exe dir>/../lib/zelmora/
//   <exe dir>/
//   <build tree>/lib/zelmora/             only for programs inside the build tree (tests, benches)
//
//   TWebPaneFactory& engine = TWebPaneModule::Factory();   // raises Exception when not found
#include "webview/TWebPane.h"

#include <QStringList>

class TWebPaneModule {
public:
    // The files looked at, in order, for a program in exeDir.
    static QStringList Candidates(const QString& exeDir, const QString& overridePath);
    static TWebPaneFactory& Factory();
    static bool Loaded();
};
