#pragma once
// What config.ini says about fetching feeds beyond the proxy, read only:
//
//   [tls]
//   ca-file=/path/to/ca.pem     (a PEM bundle of CAs trusted besides the system's; relative to
//                                the folder of config.ini)
//   [feeds]
//   redirects=5                 (redirects a feed fetch follows; 0: any redirect fails)
//
// A missing key keeps the default; a redirects value that is not a number from 0 to 20 does too.
#include <string>

class TIdCustomHTTP;
class TIniFile;

inline constexpr int kDefaultFeedRedirects = 5;
inline constexpr int kMostFeedRedirects = 20;

struct TFeedFetchSettings {
    std::string CAFile;
    int Redirects = kDefaultFeedRedirects;
};

// The settings of the file (its own folder makes a relative CA file absolute).
TFeedFetchSettings ReadFeedFetchSettings(const TIniFile& config);

// A feed fetch follows up to Redirects redirects (never from https down to http, credentials
// only to the scheme, host and port they were written for) and trusts the CA file.
void ApplyFeedFetchSettings(TIdCustomHTTP& http, const TFeedFetchSettings& settings);
