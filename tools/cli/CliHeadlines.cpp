// zelmora-cli headlines: the headlines of a feed, cut and read exactly as the reader's feed
// command does, from a saved feed body or a feed fetched with the reader's HTTP client, written
// to stdout in the headline list file format (title line, link line, CR LF, in the reader's
// code page GB18030).
//
// Links: a feed of the portal (a category's built-in URL on the feed host of --config) gets the
// redirect prefix, as in the reader; any other feed's links are the items' own, resolved against
// the feed's URL (--url, or --base for a saved file). The character set comes from a byte-order
// mark, else the HTTP Content-Type (the response's with --url, --content-type for a file), else
// the XML declaration, else UTF-8.
#include "tools/cli/CliCommand.h"
#include "tools/cli/CliPrintable.h"
#include "tools/cli/CliTimeouts.h"

#include "framework/core/Exception.h"
#include "framework/core/TIniFile.h"
#include "framework/core/TextFile.h"
#include "http/TIdHTTP.h"
#include "http/TIdHTTPResponse.h"
#include "reader/FeedCutter.h"
#include "reader/FeedFetchSettings.h"
#include "reader/FetchHeadlines.h"
#include "reader/HeadlineListFile.h"
#include "reader/ReaderHttp.h"
#include "reader/THeadlineStore.h"
#include "reader/TReaderHosts.h"

#include <cstdio>
#include <string>

namespace {

// What went wrong may quote a server or a file: its control bytes are escaped.
int fail(const std::string& what) {
    CliPrintLine(stderr, "zelmora-cli headlines: " + CliPrintable(what));
    return 1;
}

struct Options {
    std::string file, url, config, base, contentType, caFile;
    int connectTimeout = kReaderConnectTimeoutMs;
    int readTimeout = kReaderReadTimeoutMs;
    int maxTime = kReaderMaxTimeMs;
};

// "" when the arguments are good, else what is wrong with them.
std::string parse(const std::vector<std::string>& args, Options& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--config" && hasValue)
            o.config = args[++i];
        else if (a == "--base" && hasValue)
            o.base = args[++i];
        else if (a == "--content-type" && hasValue)
            o.contentType = args[++i];
        else if (a == "--ca-file" && hasValue) {
            // An empty name would leave the system's CAs alone in its place, without a word.
            if (args[++i].empty())
                return "--ca-file needs a PEM file";
            o.caFile = args[i];
        } else if ((a == "--connect-timeout" || a == "--timeout" || a == "--max-time") && hasValue) {
            int& into = a == "--timeout" ? o.readTimeout : a == "--max-time" ? o.maxTime : o.connectTimeout;
            if (!ParseMilliseconds(args[i + 1], into))
                return a + " needs milliseconds (0 for no limit)";
            ++i;
        } else if (a == "--url" && hasValue && o.url.empty())
            o.url = args[++i];
        else if (o.file.empty() && !a.starts_with("--"))
            o.file = a;
        else
            return "unexpected argument \"" + a + "\"";
    }
    if (o.file.empty() == o.url.empty())
        return "give either a feed file or --url URL";
    if (o.url.empty() && !o.caFile.empty())
        return "--ca-file is for --url";
    if (!o.url.empty() && (!o.base.empty() || !o.contentType.empty()))
        return "--base and --content-type are for a feed file; --url takes both from the fetch";
    return {};
}

// The body, and the URL it finally came from (after the redirects followed).
TFeedBody fetch(const Options& o, std::string& finalUrl) {
    // The proxy settings live in the window's config.ini too; the reader's client sends its
    // request as the window's does.
    TIdHTTP http;
    ConfigureReaderHttp(http);
    http.SetConnectTimeout(o.connectTimeout);
    http.SetReadTimeout(o.readTimeout);
    http.SetMaxTime(o.maxTime);
    // Redirects as the window follows them; the "tls" and "feeds" sections may say more.
    TFeedFetchSettings settings;
    if (!o.config.empty())
        settings = ReadFeedFetchSettings(TIniFile(o.config));
    if (!o.caFile.empty())
        settings.CAFile = o.caFile;
    ApplyFeedFetchSettings(http, settings);
    if (!o.config.empty()) {
        TIniFile ini(o.config);
        http.ProxyParams().SetProxyServer(ini.ReadString("proxy", "ip", ""));
        http.ProxyParams().SetProxyPort(ini.ReadInteger("proxy", "port", 0));
        http.ProxyParams().SetProxyUsername(ini.ReadString("proxy", "name", ""));
        http.ProxyParams().SetProxyPassword(ini.ReadString("proxy", "password", ""));
    }
    TFeedBody feed;
    feed.body = http.Get(o.url);
    feed.contentType = http.Response().ContentType();
    finalUrl = http.CurrentURL();
    return feed;
}

int runHeadlines(const std::vector<std::string>& args) {
    Options o;
    if (std::string wrong = parse(args, o); !wrong.empty())
        return fail(wrong);

    // The redirect prefix comes from the "hosts" section, as in the reader.
    const TReaderHosts hosts = o.config.empty() ? TReaderHosts() : TReaderHosts(TIniFile(o.config));
    THeadlineStore store;
    try {
        TFeedBody feed;
        std::string feedUrl = o.url.empty() ? o.base : o.url;
        if (o.url.empty()) {
            feed.body = ReadFileBytes(o.file);
            feed.contentType = o.contentType;
        } else {
            feed = fetch(o, feedUrl);
        }
        // A portal feed is known by the URL asked for; links resolve against where it came from.
        const std::string prefix = hosts.RedirectPrefixFor(o.url.empty() ? o.base : o.url);
        CutHeadlines(feed.body, TFeedOrigin{feedUrl, feed.contentType, prefix}, store);
    } catch (const Exception& e) {
        return fail(std::string(e.ClassName()) + ": " + e.Message());
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    std::string text = HeadlineListText(store);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
        return fail("cannot write to stdout");
    return 0;
}

CliCommand reg{"headlines",
               "headlines [--config config.ini] (FEEDFILE [--base URL] [--content-type TYPE] | --url URL "
               "[--ca-file FILE] [--connect-timeout MS] [--timeout MS] [--max-time MS])",
               &runHeadlines};

} // namespace
