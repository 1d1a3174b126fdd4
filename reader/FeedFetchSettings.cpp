#include "reader/FeedFetchSettings.h"

#include "framework/core/TIniFile.h"
#include "http/TIdCustomHTTP.h"

#include <filesystem>

TFeedFetchSettings ReadFeedFetchSettings(const TIniFile& config) {
    TFeedFetchSettings s;
    const std::string caFile = config.ReadString("tls", "ca-file", "");
    if (!caFile.empty()) {
        // A path written by hand is read from where the file lies, not from where the program runs.
        const std::filesystem::path p(caFile);
        s.CAFile =
            p.is_absolute() ? caFile : (std::filesystem::path(config.FileName()).parent_path() / p).string();
    }
    const int redirects = config.ReadInteger("feeds", "redirects", kDefaultFeedRedirects);
    if (redirects >= 0 && redirects <= kMostFeedRedirects)
        s.Redirects = redirects;
    return s;
}

void ApplyFeedFetchSettings(TIdCustomHTTP& http, const TFeedFetchSettings& settings) {
    http.SetCAFile(settings.CAFile);
    http.SetHandleRedirects(settings.Redirects > 0);
    // The first request counts as one: the redirect after the last one followed is the failure.
    http.SetRedirectMaximum(settings.Redirects + 1);
    // Only the five codes that say "moved" are followed: a 300 offers choices, and a 305 or 306
    // would have the fetch go through a proxy the server names.
    http.OnRedirect = [](TIdCustomHTTP* sender, std::string&, int&, bool& handled, TIdHTTPMethod&) {
        const int code = sender->Response().ResponseCode();
        if (code != 301 && code != 302 && code != 303 && code != 307 && code != 308)
            handled = false;
    };
}
