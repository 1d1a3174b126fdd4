#pragma once
// Shared set-up of the HTTP client tests: a client configured as the reader configures its own,
// a scripted server per test, and small builders for scripts and responses.
#include "http/TIdHTTP.h"
#include "tests/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace zeltest {

// The request values and waits the reader's window gives its client, so the requests these
// tests check are the ones the reader sends; the reader's tests hold its own settings to these.
// The waits also fail a regression that leaves the client waiting for bytes that never come,
// instead of hanging until the test runner gives up.
inline void ConfigureLikeTheReader(TIdCustomHTTP& http) {
    http.SetAllowCookies(true);
    http.SetHTTPOptions(hoForceEncodeParams | hoInProcessAuth);
    http.SetConnectTimeout(10000);
    http.SetReadTimeout(30000);
    http.SetAuthRetries(0);
    http.SetAuthProxyRetries(0);
    http.ProxyParams().SetBasicAuthentication(false);
    http.Request().SetContentType("text/html");
    http.Request().SetAccept("text/html, */*");
    http.Request().SetUserAgent("Mozilla/3.0 (compatible; Zelmora Library)");
    http.Request().SetContentLength(-1);
    http.Request().SetContentRangeStart(0);
    http.Request().SetContentRangeEnd(0);
    http.Request().SetContentRangeInstanceLength(0);
    http.Request().SetBasicAuthentication(false);
}

// Reads one request head, then sends the response.
inline std::vector<Action> Reply(const std::string& response) {
    return {Action::ReadHead(), Action::Send(response)};
}

inline Script Join(std::initializer_list<std::vector<Action>> parts) {
    Script s;
    for (const auto& p : parts)
        s.insert(s.end(), p.begin(), p.end());
    return s;
}

inline std::string Ok(const std::string& body, std::vector<std::string> headers = {}) {
    headers.push_back("Content-Length: " + std::to_string(body.size()));
    return HttpResponse("HTTP/1.1 200 OK", headers, body);
}

inline std::string DirectHead(const std::string& target, const std::string& host,
                              const std::vector<std::string>& extra = {}) {
    std::string h = "GET " + target + " HTTP/1.1\r\n" + "Content-Type: text/html\r\n" + "Host: " + host +
                    "\r\n" + "Accept: text/html, */*\r\n" + "Accept-Encoding: identity\r\n" +
                    "User-Agent: Mozilla/3.0 (compatible; Zelmora Library)\r\n";
    for (const std::string& e : extra)
        h += e + "\r\n";
    return h + "\r\n";
}

// Every test runs with the server's bytes in whole sends and one byte per send.
class HttpTest : public testing::TestWithParam<Delivery> {
protected:
    void SetUp() override { ConfigureLikeTheReader(http); }
    void Serve(std::vector<Script> scripts) {
        server = std::make_unique<ScriptedServer>(std::move(scripts), GetParam());
    }
    std::string HostPort() const { return "127.0.0.1:" + std::to_string(server->Port()); }
    std::string Url(const std::string& path) const { return "http://" + HostPort() + path; }

    // Bytes a server sends behind its answer may still be on their way, one byte per send, when
    // the answer ends. Waits until the first of them is here or the client let the connection go:
    // a request sent before they arrive could not tell them from its answer, no client could.
    void AwaitStrayBytes() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (http.Connected() && http.IOHandler()->InputBuffer().Empty() &&
               std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    std::unique_ptr<ScriptedServer> server;
    TIdHTTP http; // declared after the server: it disconnects before the server stops
};

inline std::string DeliveryName(const testing::TestParamInfo<Delivery>& info) {
    return info.param == Delivery::Whole ? "Whole" : "BytePerSend";
}

#define ZEL_HTTP_CUTS(Suite)                                                                                 \
    INSTANTIATE_TEST_SUITE_P(Cuts, Suite, testing::Values(Delivery::Whole, Delivery::OneBytePerSend),        \
                             DeliveryName)

} // namespace zeltest
