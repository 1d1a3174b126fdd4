#include "http/TIdHTTPConnectTunnel.h"

#include "http/EIdException.h"
#include "http/TIdCustomHTTP.h"
#include "http/TIdHTTPProtocol.h"
#include "http/TIdStringStream.h"

namespace {

// "host:port", an IPv6 address in brackets; the port is always written.
std::string authorityOf(const TIdURI& url) {
    const bool v6 = url.IPVersion() == Id_IPv6 && url.Host().find(':') != std::string::npos;
    return (v6 ? "[" + url.Host() + "]" : url.Host()) + ":" + url.Port();
}

// Writes the CONNECT head in one send; true when it carried credentials.
bool sendConnect(TIdCustomHTTP& http, const std::string& authority) {
    TIdHeaderList head(TIdHeaderList::kMessageFoldLength);
    head.SetValues("Host", authority);
    head.SetValues("User-Agent", http.Request().UserAgent());
    http.ProxyParams().SetHeaders(head);
    TIdIOHandler& io = *http.IOHandler();
    io.WriteBufferOpen();
    try {
        io.WriteLn("CONNECT " + authority + " HTTP/1.1");
        for (const std::string& line : head.Lines())
            io.WriteLn(line);
        io.WriteLn("");
        io.WriteBufferClose();
    } catch (...) {
        io.WriteBufferCancel();
        throw;
    }
    return !head.Values("Proxy-Authorization").empty();
}

} // namespace

void TIdHTTPConnectTunnel::Open(TIdCustomHTTP& http) {
    TIdHTTPResponse& resp = http.Response();
    const std::string authority = authorityOf(http.URL());
    for (;;) {
        const bool sentCredentials = sendConnect(http, authority);
        int interim = 0;
        do {
            if (interim++ > TIdCustomHTTP::kMaxInterimResponses)
                throw EIdHTTPHeadTooLarge("More than " + std::to_string(TIdCustomHTTP::kMaxInterimResponses) +
                                          " interim (1xx) responses in a row.");
            http.protocol_->RetrieveHeaders();
        } while (resp.ResponseCode() >= 100 && resp.ResponseCode() <= 199);
        const int code = resp.ResponseCode();
        if (code >= 200 && code <= 299) {
            // The server speaks first inside the tunnel only after our greeting: bytes already
            // here are the proxy's, and would pass for the server's.
            if (!http.IOHandler()->InputBuffer().Empty())
                throw EIdHTTPMalformedResponse("The proxy sent bytes of its own into the tunnel.");
            return;
        }
        if (code == 407 && http.authProxyRetries_ < http.MaxAuthRetries()) {
            ++http.authProxyRetries_;
            if (http.ProxyParams().AuthorizeProxy(&http, resp.ProxyAuthenticate(),
                                                  http.OnSelectProxyAuthorization, http.OnProxyAuthorization,
                                                  sentCredentials)) {
                http.DiscardBody(http.ReadTimeout());
                if (!http.exchangeComplete_ || !resp.KeepAlive()) {
                    // The proxy hung up on its challenge: the answer goes on a new connection.
                    http.TIdTCPClient::Disconnect();
                    http.IOHandler()->InputBuffer().Clear();
                    http.Connect();
                }
                continue;
            }
        }
        TIdStringStream body;
        body.SetMaxSize(http.MaxBodySize());
        try {
            http.ReadBody(&body);
        } catch (const EIdConnClosedGracefully&) {
            // What came before the close still goes with the status.
        }
        throw EIdHTTPProtocolException(resp.ResponseText(), code, body.Take());
    }
}
