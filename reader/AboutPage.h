#pragma once
// The about page: "info.htm", one line of HTML in GBK ending in CR LF, written into the current
// directory each time the command runs and never deleted, then shown in the pane by its full
// local path.
#include <string>

class TReaderHosts;

inline constexpr const char* kAboutPageName = "info.htm";

// The file's exact bytes (GBK), the link pointing at the maker's site root.
std::string AboutPageBytes(const TReaderHosts& hosts);

// Writes the page into the current directory, replacing it through a temporary file, and
// returns the path to navigate to: the current directory's full path, the platform's
// separator and "info.htm". Throws EInOutError when it cannot be written; then nothing should
// be navigated.
std::string WriteAboutPage(const TReaderHosts& hosts);
