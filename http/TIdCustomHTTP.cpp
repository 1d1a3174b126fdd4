#include "http/TIdCustomHTTP.h"

#include "framework/core/AsciiText.h"

#include "http/EIdException.h"
#include "http/TIdChunkedBody.h"
#include "http/TIdDiscardStream.h"
#include "http/TIdHTTPConnectTunnel.h"
#include "http/TIdHTTPProtocol.h"
#include "http/TIdSSLIOHandlerSocketOpenSSL.h"
#include "http/TIdStack.h"
#include "http/TIdStringStream.h"

#include <chrono>
#include <cstdint>

namespace {

std::string lowerCase(std::string s) {
    for (char& c : s)
        c = AsciiLower(c);
    return s;
}

// The socket failures that mean the server dropped the connection.
bool isConnectionLost(const EIdException& e) {
    if (dynamic_cast<const EIdConnClosedGracefully*>(&e) || dynamic_cast<const EIdNotConnected*>(&e))
        return true;
    if (const auto* s = dynamic_cast<const EIdSocketError*>(&e)) {
        const int n = s->LastError();
        return n == kWSAENETRESET || n == kWSAECONNABORTED || n == kWSAECONNRESET || n == kWSAENOTCONN ||
               n == kWSAESHUTDOWN;
    }
    return false;
}

} // namespace

TIdCustomHTTP::TIdCustomHTTP()
    : protocol_(std::make_unique<TIdHTTPProtocol>(*this, static_cast<TIdHTTPExchange&>(*this))) {}

TIdCustomHTTP::~TIdCustomHTTP() {
    try {
        Disconnect();
    } catch (...) {
    }
}

TIdHTTPRequest& TIdCustomHTTP::Request() {
    return protocol_->Request();
}
TIdHTTPResponse& TIdCustomHTTP::Response() {
    return protocol_->Response();
}
int TIdCustomHTTP::ResponseCode() {
    return Response().ResponseCode();
}
const std::string& TIdCustomHTTP::ResponseText() {
    return Response().ResponseText();
}

void TIdCustomHTTP::SetCookieManager(TIdCookieManager* m) {
    if (m == cookieManager_)
        return;
    ownedCookieManager_.reset();
    cookieManager_ = m;
}

void TIdCustomHTTP::ensureCookieManager() {
    if (cookieManager_ || !allowCookies_)
        return;
    ownedCookieManager_ = std::make_unique<TIdCookieManager>();
    cookieManager_ = ownedCookieManager_.get();
    cookieManager_->DoOnCreate();
}

void TIdCustomHTTP::Disconnect() {
    TIdTCPClient::Disconnect();
    // Unread bytes of a connection we hung up on answer nothing; kept, they would make the
    // closed connection look usable.
    if (IOHandler())
        IOHandler()->InputBuffer().Clear();
    // A finished credential exchange does not outlive its connection.
    TIdHTTPRequest& req = Request();
    if (req.Authentication() && req.Authentication()->CurrentStep() == req.Authentication()->Steps())
        req.SetAuthentication(nullptr);
    if (TIdAuthentication* a = proxyParams_.Authentication(); a && a->CurrentStep() == a->Steps())
        a->Reset();
}

std::string TIdCustomHTTP::Get(const std::string& url) {
    return Get(url, std::vector<int>());
}

std::string TIdCustomHTTP::Get(const std::string& url, const std::vector<int>& ignoreReplies) {
    // The body is read into the string that is returned: no copy of it is ever made.
    TIdStringStream body;
    body.SetMaxSize(maxBodySize_);
    Get(url, body, ignoreReplies);
    return body.Take();
}

void TIdCustomHTTP::Get(const std::string& url, TIdStream& stream, const std::vector<int>& ignoreReplies) {
    DoRequest(hmGet, url, &stream, ignoreReplies);
}

void TIdCustomHTTP::DoRequest(TIdHTTPMethod method, const std::string& url, TIdStream* stream,
                              const std::vector<int>& ignoreReplies) {
    const std::int64_t startPosition = stream ? stream->Position() : 0;
    authRetries_ = 0;
    authProxyRetries_ = 0;
    TIdHTTPRequest& req = Request();
    TIdHTTPResponse& resp = Response();
    req.SetURL(url);
    req.SetMethod(method);
    req.SetSource(nullptr);
    resp.SetContentStream(stream);
    if (maxTime_ > 0)
        SetDeadline(std::chrono::steady_clock::now() + std::chrono::milliseconds(maxTime_), maxTime_);
    struct DeadlineEnd {
        TIdCustomHTTP& http;
        ~DeadlineEnd() { http.ClearDeadline(); }
    } deadlineEnd{*this};
    try {
        for (bool done = false; !done;) {
            ++redirectCount_;
            prepareRequest();
            sendRequest();
            switch (protocol_->ProcessResponse(ignoreReplies)) {
            case TIdHTTPWhatsNext::wnJustExit:
                done = true;
                break;
            case TIdHTTPWhatsNext::wnGoToURL:
                if (stream) {
                    stream->SetPosition(startPosition);
                    stream->SetSize(startPosition);
                }
                authRetries_ = 0;
                authProxyRetries_ = 0;
                break;
            case TIdHTTPWhatsNext::wnAuthRequest:
                --redirectCount_;
                req.SetURL(url);
                break;
            }
        }
    } catch (...) {
        // A response left half-read would be taken for the answer to the next request.
        if (!exchangeComplete_ || !resp.KeepAlive())
            Disconnect();
        throw;
    }
    if (!exchangeComplete_ || !resp.KeepAlive())
        Disconnect();
    redirectCount_ = 0;
}

void TIdCustomHTTP::sendRequest() {
    const bool reused = connectToHost();
    exchangeComplete_ = false;
    const std::uint64_t before = IOHandler()->BytesReceived();
    try {
        protocol_->BuildAndSendRequest();
        readResponseHead();
    } catch (const EIdException& e) {
        // A kept connection that the server closed while the request went out: not one byte of
        // an answer came, so the request goes once more, on a fresh connection. Never for a
        // fresh connection, never after part of a response, never twice.
        if (!reused || !IOHandler() || IOHandler()->BytesReceived() != before || !isConnectionLost(e))
            throw;
        // Only the socket goes: credentials that went out with the request go again.
        TIdTCPClient::Disconnect();
        IOHandler()->InputBuffer().Clear();
        connectToHost();
        exchangeComplete_ = false;
        protocol_->BuildAndSendRequest();
        readResponseHead();
    }
}

void TIdCustomHTTP::readResponseHead() {
    TIdHTTPResponse& resp = Response();
    int interim = 0;
    do {
        if (interim++ > kMaxInterimResponses)
            throw EIdHTTPHeadTooLarge("More than " + std::to_string(kMaxInterimResponses) +
                                      " interim (1xx) responses in a row.");
        protocol_->RetrieveHeaders();
        ensureCookieManager();
        if (cookieManager_)
            cookieManager_->AddServerCookies(resp.RawHeaders(), url_.Host());
        // Every 1xx (100 Continue, 102 Processing, 103 Early Hints) announces the answer; none
        // is one.
    } while (resp.ResponseCode() >= 100 && resp.ResponseCode() <= 199);
}

void TIdCustomHTTP::prepareRequest() {
    TIdHTTPRequest& req = Request();
    // CR, LF or NUL would let the URL text write header lines of its own into the request.
    if (req.URL().find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
        throw EIdInvalidURL();
    TIdURI next(req.URL());
    if (!next.Path().empty() && next.Path()[0] == '/')
        url_.SetPath(next.Path());
    else
        url_.SetPath(TIdURI::ResolvePath(url_.Path(), next.Path()));
    url_.SetDocument(next.Document());
    url_.SetParams(next.Params());
    if (!next.Host().empty()) {
        url_.SetHost(next.Host());
        url_.SetIPVersion(next.IPVersion());
    }
    if (!next.Protocol().empty())
        url_.SetProtocol(next.Protocol());
    else
        url_.SetProtocol(SameText(url_.Protocol(), "https") ? "https" : "http");
    if (!next.Port().empty())
        url_.SetPort(next.Port());
    else if (SameText(next.Protocol(), "http"))
        url_.SetPort("80");
    else if (SameText(next.Protocol(), "https"))
        url_.SetPort("443");
    else if (url_.Port().empty())
        throw EIdUnknownProtocol();
    int port = 0;
    if (!TIdURI::ParsePort(url_.Port(), port))
        throw EIdInvalidPort("Invalid port \"" + url_.Port() +
                             "\" in the URL: a port is a number from 1 to 65535.");
    applyCredentials(next);
    req.SetURL(url_.Path() + url_.Document() + url_.Params());
    if (req.Method() != hmPost && req.Method() != hmPut)
        req.SetContentLength(-1);
    // The scheme's own port goes unwritten: 80 for http, 443 for https.
    const bool defaultPort = url_.Port() == (SameText(url_.Protocol(), "https") ? "443" : "80");
    req.SetHost(defaultPort ? bracketedHost() : bracketedHost() + ":" + url_.Port());
}

std::string TIdCustomHTTP::bracketedHost() const {
    // An IPv6 address keeps its brackets so its colons are not read as a port.
    return url_.IPVersion() == Id_IPv6 && url_.Host().find(':') != std::string::npos ? "[" + url_.Host() + "]"
                                                                                     : url_.Host();
}

std::string TIdCustomHTTP::CurrentURL() const {
    const std::string scheme = lowerCase(url_.Protocol());
    const bool defaultPort = url_.Port() == (scheme == "https" ? "443" : "80");
    return scheme + "://" + bracketedHost() + (defaultPort ? "" : ":" + url_.Port()) + url_.Path() +
           url_.Document() + url_.Params();
}

void TIdCustomHTTP::applyCredentials(const TIdURI& next) {
    TIdHTTPRequest& req = Request();
    std::string origin = lowerCase(url_.Protocol()) + "://" + lowerCase(url_.Host()) + ":" + url_.Port();
    // A credential object made for one site holds that site's user name and password: it waits
    // for the next request to that site.
    if (origin != lastOrigin_) {
        if (req.Authentication())
            parkedAuthentications_[lastOrigin_] = std::move(req.AuthenticationSlot());
        auto parked = parkedAuthentications_.find(origin);
        if (parked != parkedAuthentications_.end()) {
            req.SetAuthentication(std::move(parked->second));
            parkedAuthentications_.erase(parked);
        } else {
            req.SetAuthentication(nullptr);
        }
        lastOrigin_ = origin;
    }
    // User names and passwords written in a URL belong to that URL's scheme, host and port; they
    // go to no other, and come back when a later URL returns there.
    if (!next.Username().empty())
        urlCredentials_[origin] = {next.Username(), next.Password()};
    if (auto it = urlCredentials_.find(origin); it != urlCredentials_.end()) {
        req.SetUsername(it->second.first);
        req.SetPassword(it->second.second);
        credentialsFromURL_ = true;
    } else if (credentialsFromURL_) {
        req.SetUsername(std::string());
        req.SetPassword(std::string());
        credentialsFromURL_ = false;
    }
    url_.SetUsername(req.Username());
    url_.SetPassword(req.Password());
}

void TIdCustomHTTP::chooseHandler(bool tls) {
    if (!tls)
        return;
    if (!IOHandler() || (ManagedIOHandler() && !IOHandler()->TLSCapable())) {
        // The plain handler the client made for http gives way to one that speaks TLS too.
        Disconnect();
        SetManagedIOHandler(std::make_unique<TIdSSLIOHandlerSocketOpenSSL>());
    }
    if (!IOHandler()->TLSCapable())
        throw EIdIOHandlerPropInvalid();
    if (auto* ssl = dynamic_cast<TIdSSLIOHandlerSocketOpenSSL*>(IOHandler()); ssl && !caFile_.empty())
        ssl->SetCAFile(caFile_);
}

std::string TIdCustomHTTP::chooseTarget(bool tls) {
    TIdHTTPRequest& req = Request();
    int port = 0;
    if (!TIdURI::ParsePort(url_.Port(), port))
        throw EIdInvalidPort("Invalid port \"" + url_.Port() +
                             "\" in the URL: a port is a number from 1 to 65535.");
    std::string key = lowerCase(url_.Protocol()) + "://" + lowerCase(url_.Host()) + ":" + url_.Port();
    if (proxyParams_.ProxyServer().empty()) {
        if (IOHandler() && IOHandler()->IPVersion() != url_.IPVersion())
            Disconnect();
        if (!SameText(Host(), url_.Host()) || Port() != port)
            Disconnect();
        req.SetUseProxy(tls ? ctSSL : ctNormal);
        SetHost(url_.Host());
        SetPort(port);
        return key;
    }
    // A port the settings file got wrong would otherwise reach some other port.
    if (proxyParams_.ProxyPort() < 1 || proxyParams_.ProxyPort() > 65535)
        throw EIdInvalidPort("Invalid proxy port " + std::to_string(proxyParams_.ProxyPort()) +
                             ": a port is a number from 1 to 65535.");
    if (!SameText(Host(), proxyParams_.ProxyServer()) || Port() != proxyParams_.ProxyPort())
        Disconnect();
    SetHost(proxyParams_.ProxyServer());
    SetPort(proxyParams_.ProxyPort());
    if (tls) {
        // Inside the tunnel the request goes as to the server itself: origin form.
        req.SetUseProxy(ctSSLProxy);
        return key + " via proxy";
    }
    req.SetUseProxy(ctProxy);
    req.SetURL(url_.GetFullURI(0));
    // One plain connection to the proxy serves every http URL.
    return "http://" + lowerCase(proxyParams_.ProxyServer()) + ":" + std::to_string(proxyParams_.ProxyPort());
}

void TIdCustomHTTP::composeHead() {
    TIdHTTPRequest& req = Request();
    if (protocolVersion_ == pv1_0 && req.Connection().empty()) {
        if (req.UseProxy() == ctProxy)
            req.SetProxyConnection("keep-alive");
        else
            req.SetConnection("keep-alive");
    }
    // Without a decoder only the identity coding is acceptable.
    if (req.AcceptEncoding().find("identity") == std::string::npos) {
        std::string enc = req.AcceptEncoding();
        if (!enc.empty() && enc.back() != ' ' && enc.back() != ',')
            enc += ", ";
        req.SetAcceptEncoding(enc + "identity");
    }
    req.SetHeaders();
    if (req.UseProxy() == ctProxy)
        proxyParams_.SetHeaders(req.RawHeaders());
    else
        req.RawHeaders().SetValues("Proxy-Connection", ""); // a word for a proxy, not for the server
    if (cookieManager_) {
        std::string cookies = cookieManager_->GenerateCookieList(url_.Host(), url_.Path(), false);
        if (!cookies.empty())
            req.RawHeaders().SetValues("Cookie", cookies);
    }
}

bool TIdCustomHTTP::connectToHost() {
    const bool tls = SameText(url_.Protocol(), "https");
    // A kept connection serves one scheme, host and port: a plain one never carries https, and
    // a tunnel leads to one server only.
    const std::string key = chooseTarget(tls);
    chooseHandler(tls);
    if (key != connectionKey_)
        Disconnect();
    composeHead();
    if (!Response().KeepAlive())
        Disconnect();
    if (Connected())
        return true;
    const TIdHTTPConnectionType kind = Request().UseProxy();
    SetIPVersion(kind == ctProxy || kind == ctSSLProxy ? Id_IPv4 : url_.IPVersion());
    connectionKey_.clear();
    Connect();
    if (tls) {
        try {
            if (kind == ctSSLProxy)
                TIdHTTPConnectTunnel::Open(*this);
            IOHandler()->StartTLS(url_.Host());
        } catch (...) {
            // Half a tunnel or half a handshake serves nobody.
            TIdTCPClient::Disconnect();
            IOHandler()->InputBuffer().Clear();
            throw;
        }
    }
    connectionKey_ = key;
    return false;
}

bool TIdCustomHTTP::HasNoBody(int code) {
    return (code >= 100 && code <= 199) || code == 204 || code == 304;
}

void TIdCustomHTTP::ReadBody(TIdStream* stream) {
    if (!stream)
        return;
    TIdHTTPResponse& resp = Response();
    // These answers end with their head, whatever it announces.
    if (HasNoBody(resp.ResponseCode()))
        return;
    TIdIOHandler& io = *IOHandler();
    // Transfer codings are case-insensitive: a "Chunked" body read as plain bytes would hand the
    // chunk sizes to the caller as part of the body.
    std::string coding = resp.TransferEncoding();
    for (char& c : coding)
        c = AsciiLower(c);
    if (coding.find("chunked") != std::string::npos) {
        // Chunks frame the body even when a length comes too; a server that sends both is not
        // trusted with the connection afterwards (smuggled bytes could follow).
        readChunked(*stream);
        if (resp.HasContentLength())
            Disconnect();
    } else if (resp.ContentLength() > 0) {
        // A body the server's close cuts short fails like a cut chunked body: passed off as whole,
        // a truncated feed would show as if nothing were missing.
        io.ReadStream(*stream, resp.ContentLength());
    } else if (!resp.HasContentLength()) {
        io.ReadStream(*stream, -1, true);
    }
}

void TIdCustomHTTP::readChunked(TIdStream& stream) {
    DoStatus(hsStatusText, "Chunk Started");
    TIdChunkedBody(IOHandler()->MaxLineLength(), headerLineLimit_).Read(*IOHandler(), stream);
}

void TIdCustomHTTP::DiscardBody(int readTimeout) {
    if (!IOHandler() || !Connected()) {
        exchangeComplete_ = !IOHandler() || IOHandler()->InputBuffer().Empty();
        return;
    }
    TIdIOHandler& io = *IOHandler();
    const int saved = io.ReadTimeout();
    io.SetReadTimeout(readTimeout);
    try {
        TIdDiscardStream sink(maxBodySize_);
        ReadBody(&sink);
        exchangeComplete_ = true;
    } catch (...) {
        exchangeComplete_ = false;
    }
    io.SetReadTimeout(saved);
}
