// zelmora-cli get: GETs URLs with the reader's HTTP client, one client for the whole run so the
// connection and the cookies carry from one URL to the next. Bodies go to stdout as raw bytes,
// one status line per URL to stderr, with the server's control bytes escaped. Redirects are
// not followed: a 3xx is an error line with its status line.
#include "tools/cli/CliCommand.h"
#include "tools/cli/CliPrintable.h"
#include "tools/cli/CliTimeouts.h"

#include "http/EIdException.h"
#include "http/TIdHTTP.h"
#include "reader/ReaderHttp.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "get [--proxy HOST:PORT] [--proxy-user NAME] [--proxy-password PASS] [--proxy-basic]"
    " [--connect-timeout MS] [--timeout MS] [--max-time MS] [--ca-file FILE] URL...";

int usage(const std::string& why) {
    std::fprintf(stderr, "zelmora-cli get: %s\nusage: zelmora-cli %s\n", why.c_str(), kUsage);
    return 2;
}

bool parseProxy(const std::string& value, std::string& host, int& port) {
    std::size_t colon = value.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == value.size())
        return false;
    std::string digits = value.substr(colon + 1);
    if (digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    port = std::stoi(digits);
    if (port < 1 || port > 65535)
        return false;
    host = value.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    return true;
}

int runGet(const std::vector<std::string>& args) {
    TIdHTTP http;
    ConfigureReaderHttp(http); // the request the reader's window sends

    std::vector<std::string> urls;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size())
                return false;
            into = args[++i];
            return true;
        };
        std::string v;
        if (a == "--proxy") {
            std::string host;
            int port = 0;
            if (!value(v) || !parseProxy(v, host, port))
                return usage("--proxy needs HOST:PORT");
            http.ProxyParams().SetProxyServer(host);
            http.ProxyParams().SetProxyPort(port);
        } else if (a == "--proxy-user") {
            if (!value(v))
                return usage("--proxy-user needs a name");
            http.ProxyParams().SetProxyUsername(v);
        } else if (a == "--proxy-password") {
            if (!value(v))
                return usage("--proxy-password needs a password");
            http.ProxyParams().SetProxyPassword(v);
        } else if (a == "--ca-file") {
            if (!value(v) || v.empty())
                return usage("--ca-file needs a PEM file");
            http.SetCAFile(v);
        } else if (a == "--proxy-basic") {
            http.ProxyParams().SetBasicAuthentication(true);
        } else if (a == "--connect-timeout" || a == "--timeout" || a == "--max-time") {
            int ms = 0;
            if (!value(v) || !ParseMilliseconds(v, ms))
                return usage(a + " needs milliseconds (0 for no limit)");
            if (a == "--timeout")
                http.SetReadTimeout(ms);
            else if (a == "--max-time")
                http.SetMaxTime(ms);
            else
                http.SetConnectTimeout(ms);
        } else if (a == "--") {
            urls.insert(urls.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        } else if (a.size() > 1 && a[0] == '-') {
            return usage("unknown option " + a);
        } else {
            urls.push_back(a);
        }
    }
    if (urls.empty())
        return usage("no URL given");

    bool allOk = true;
    for (const std::string& url : urls) {
        try {
            std::string body = http.Get(url);
            std::fwrite(body.data(), 1, body.size(), stdout);
            std::fflush(stdout);
            CliPrintLine(stderr, "OK " + CliPrintable(http.ResponseText()));
        } catch (const EIdException& e) {
            allOk = false;
            CliPrintLine(stderr, std::string("ERR ") + e.ClassName() + ": " + CliPrintable(e.Message()));
        } catch (const std::exception& e) {
            allOk = false;
            CliPrintLine(stderr, "ERR Exception: " + CliPrintable(e.what()));
        }
    }
    return allOk ? 0 : 1;
}

CliCommand reg{"get", kUsage, &runGet};

} // namespace
