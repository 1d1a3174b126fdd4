#include "http/TIdCustomHTTP.h"

#include "framework/core/AsciiText.h"

#include "http/EIdException.h"
#include "http/TIdHTTPProtocol.h"
#include "http/TIdMemoryStream.h"

#include <limits>

namespace {

// A chunk size: hexadecimal digits only, fitting a signed 32-bit number; anything else reads 0,
// which ends the body. A size too large for that never wraps round to a small one.
std::int64_t chunkSize(std::string_view text) {
    if (text.empty())
        return 0;
    std::int64_t size = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return 0;
        size = size * 16 + digit;
        if (size > std::numeric_limits<std::int32_t>::max())
            return 0;
    }
    return size;
}

// Counts what it is given and keeps nothing, up to a bound.
class DiscardStream : public TIdStream {
public:
    explicit DiscardStream(std::size_t bound) : bound_(bound) {}
    void Write(const char*, std::size_t n) override {
        size_ += n;
        if (bound_ != 0 && size_ > bound_)
            throw EIdContentTooLarge();
    }
    std::int64_t Position() const override { return static_cast<std::int64_t>(size_); }
    void SetPosition(std::int64_t) override {}
    std::int64_t Size() const override { return static_cast<std::int64_t>(size_); }
    void SetSize(std::int64_t) override {}

private:
    std::size_t bound_;
    std::size_t size_ = 0;
};

} // namespace

TIdCustomHTTP::TIdCustomHTTP() : protocol_(std::make_unique<TIdHTTPProtocol>(*this)) {}

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
    TIdMemoryStream buffer;
    buffer.SetMaxSize(maxBodySize_);
    Get(url, buffer, ignoreReplies);
    return buffer.ToString();
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
    try {
        for (bool done = false; !done;) {
            ++redirectCount_;
            prepareRequest();
            connectToHost();
            exchangeComplete_ = false;
            protocol_->BuildAndSendRequest();
            int interim = 0;
            do {
                if (interim++ > kMaxInterimResponses)
                    throw EIdHTTPHeadTooLarge("More than " + std::to_string(kMaxInterimResponses) +
                                              " interim (100) responses in a row.");
                protocol_->RetrieveHeaders();
                ensureCookieManager();
                if (cookieManager_)
                    cookieManager_->AddServerCookies(resp.RawHeaders(), url_.Host());
            } while (resp.ResponseCode() == 100);
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

void TIdCustomHTTP::prepareRequest() {
    TIdHTTPRequest& req = Request();
    // CR, LF or NUL would let the URL text write header lines of its own into the request.
    if (req.URL().find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
        throw EIdInvalidURL();
    TIdURI next(req.URL());
    if (!next.Username().empty()) {
        req.SetUsername(next.Username());
        req.SetPassword(next.Password());
    }
    url_.SetUsername(req.Username());
    url_.SetPassword(req.Password());
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
    req.SetURL(url_.Path() + url_.Document() + url_.Params());
    if (req.Method() != hmPost && req.Method() != hmPut)
        req.SetContentLength(-1);
    // An IPv6 address keeps its brackets so its colons are not read as a port.
    std::string host = url_.IPVersion() == Id_IPv6 && url_.Host().find(':') != std::string::npos
                           ? "[" + url_.Host() + "]"
                           : url_.Host();
    req.SetHost(url_.Port() == "80" ? host : host + ":" + url_.Port());
}

void TIdCustomHTTP::connectToHost() {
    TIdHTTPRequest& req = Request();
    const bool tls = SameText(url_.Protocol(), "https");
    if (proxyParams_.ProxyServer().empty()) {
        if (IOHandler() && IOHandler()->IPVersion() != url_.IPVersion())
            Disconnect();
        std::int64_t port = 80;
        if (!TIdEntityHeaderInfo::ParseInt32(url_.Port(), port) || port < 0 || port > 65535)
            port = 80;
        if (!SameText(Host(), url_.Host()) || Port() != static_cast<int>(port))
            Disconnect();
        // No TLS handler exists here; an https URL cannot be served.
        if (tls)
            throw EIdIOHandlerPropInvalid();
        req.SetUseProxy(ctNormal);
        SetHost(url_.Host());
        SetPort(static_cast<int>(port));
    } else {
        if (!SameText(Host(), proxyParams_.ProxyServer()) || Port() != proxyParams_.ProxyPort())
            Disconnect();
        if (tls)
            throw EIdIOHandlerPropInvalid();
        req.SetUseProxy(ctProxy);
        req.SetURL(url_.GetFullURI(0));
        SetHost(proxyParams_.ProxyServer());
        SetPort(proxyParams_.ProxyPort());
    }
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
    if (cookieManager_) {
        std::string cookies = cookieManager_->GenerateCookieList(url_.Host(), url_.Path(), false);
        if (!cookies.empty())
            req.RawHeaders().SetValues("Cookie", cookies);
    }

    if (!Response().KeepAlive())
        Disconnect();
    if (!Connected()) {
        SetIPVersion(req.UseProxy() == ctProxy ? Id_IPv4 : url_.IPVersion());
        Connect();
    }
}

void TIdCustomHTTP::readResult(TIdStream* stream) {
    if (!stream)
        return;
    TIdHTTPResponse& resp = Response();
    TIdIOHandler& io = *IOHandler();
    if (resp.ContentLength() > 0) {
        try {
            io.ReadStream(*stream, resp.ContentLength());
        } catch (const EIdConnClosedGracefully&) {
            // A server that closes early leaves what it sent.
        }
    } else if (resp.TransferEncoding().find("chunked") != std::string::npos) {
        readChunked(*stream);
    } else if (!resp.HasContentLength()) {
        io.ReadStream(*stream, -1, true);
    }
}

void TIdCustomHTTP::readChunked(TIdStream& stream) {
    TIdIOHandler& io = *IOHandler();
    DoStatus(hsStatusText, "Chunk Started");
    for (;;) {
        std::string line = io.ReadLn();
        std::size_t space = line.find(' ');
        if (space != std::string::npos)
            line.erase(space);
        std::int64_t size = chunkSize(line);
        if (size <= 0)
            break;
        io.ReadStream(stream, size);
        io.ReadLn();
    }
    // The line after the last chunk; trailer lines, when a server sends them, run up to an empty
    // one and are skipped so nothing of this response is left for the next.
    int trailers = 0;
    while (!io.ReadLn().empty()) {
        if (headerLineLimit_ > 0 && ++trailers > headerLineLimit_)
            throw EIdHTTPHeadTooLarge("Chunked body has more than " + std::to_string(headerLineLimit_) +
                                      " trailer lines.");
    }
}

void TIdCustomHTTP::discardBody(int readTimeout) {
    if (!IOHandler() || !Connected()) {
        exchangeComplete_ = !IOHandler() || IOHandler()->InputBuffer().Empty();
        return;
    }
    TIdIOHandler& io = *IOHandler();
    const int saved = io.ReadTimeout();
    io.SetReadTimeout(readTimeout);
    try {
        DiscardStream sink(maxBodySize_);
        readResult(&sink);
        exchangeComplete_ = true;
    } catch (...) {
        exchangeComplete_ = false;
    }
    io.SetReadTimeout(saved);
}
