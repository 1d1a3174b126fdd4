#pragma once
// The about page: "info.htm", one line of HTML in the code page (GB18030) ending in CR LF, written each time
// the command runs into the program's own per-user cache directory (never the current directory, where it
// would overwrite whatever "info.htm" the user keeps there), then shown in the pane by its full local path.
#include <string>

class TReaderHosts;

inline constexpr const char* kAboutPageName = "info.htm";

// The file's exact bytes (GB18030), the link pointing at the maker's site root.
std::string AboutPageBytes(const TReaderHosts& hosts);

// Writes the page into the directory (created when missing), replacing it through a temporary
// file, and returns the path to navigate to: the directory, the platform's separator and
// "info.htm". Throws EInOutError when it cannot be written or no directory is given; then
// nothing should be navigated.
std::string WriteAboutPage(const TReaderHosts& hosts, const std::string& directory);
