// zelmora-cli headlines: the headlines of a feed, cut exactly as the reader's feed command cuts
// them from a saved feed body or a feed fetched with the reader's HTTP client, written to stdout in the
// headline list file format (GB18030 title line, link line, CR LF).
#include "tools/cli/CliCommand.h"
#include "tools/cli/CliPrintable.h"
#include "tools/cli/CliTimeouts.h"

#include "framework/core/Exception.h"
#include "framework/core/TIniFile.h"
#include "framework/core/TextFile.h"
#include "http/TIdHTTP.h"
#include "reader/FeedCutter.h"
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

int runHeadlines(const std::vector<std::string>& args) {
    std::string file, url, config;
    int connectTimeout = kReaderConnectTimeoutMs;
    int readTimeout = kReaderReadTimeoutMs;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--config" && i + 1 < args.size())
            config = args[++i];
        else if ((args[i] == "--connect-timeout" || args[i] == "--timeout") && i + 1 < args.size()) {
            int& into = args[i] == "--timeout" ? readTimeout : connectTimeout;
            if (!ParseMilliseconds(args[i + 1], into))
                return fail(args[i] + " needs milliseconds (0 for no limit)");
            ++i;
        } else if (args[i] == "--url" && i + 1 < args.size() && url.empty())
            url = args[++i];
        else if (file.empty() && !args[i].starts_with("--"))
            file = args[i];
        else
            return fail("unexpected argument \"" + args[i] + "\"");
    }
    if (file.empty() == url.empty())
        return fail("give either a feed file or --url URL");

    // The redirect prefix comes from the "hosts" section, as in the reader.
    TReaderHosts hosts = config.empty() ? TReaderHosts() : TReaderHosts(TIniFile(config));
    THeadlineStore store;
    try {
        std::string body;
        if (url.empty()) {
            body = ReadFileBytes(file);
        } else {
            // The proxy settings live in the window's config.ini too; the reader's client sends
            // its request as the window's does.
            TIdHTTP http;
            ConfigureReaderHttp(http);
            http.SetConnectTimeout(connectTimeout);
            http.SetReadTimeout(readTimeout);
            if (!config.empty()) {
                TIniFile ini(config);
                http.ProxyParams().SetProxyServer(ini.ReadString("proxy", "ip", ""));
                http.ProxyParams().SetProxyPort(ini.ReadInteger("proxy", "port", 0));
                http.ProxyParams().SetProxyUsername(ini.ReadString("proxy", "name", ""));
                http.ProxyParams().SetProxyPassword(ini.ReadString("proxy", "password", ""));
            }
            body = http.Get(url);
        }
        CutHeadlines(body, hosts.RedirectPrefix(), store);
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
               "headlines [--config config.ini] (FEEDFILE | --url URL [--connect-timeout MS] [--timeout MS])",
               &runHeadlines};

} // namespace
