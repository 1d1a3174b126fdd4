#pragma once
// The HTTP/1.1 client: one blocking Get that writes the request head, reads and judges the
// response, reads the body by length, by chunks or up to the server's close, and keeps the
// connection for the next Get when the server allows it.
//
//   TIdHTTP http;
//   http.ProxyParams().SetProxyServer("proxy.example");   // optional
//   std::string body = http.Get("http://news.example/rss/world.xml");
//
// An https URL goes over TLS (the client makes a TLS-capable handler when none is attached),
// through the proxy's CONNECT tunnel when a proxy is set.
//
// Every failure leaves Get as an EIdException: EIdHTTPProtocolException for a response that is
// not accepted (its message is the status line), TLS refusals (EIdTLSError and its kin, whose
// messages say why), socket errors, a closed connection, and the
// client's own bounds (EIdContentTooLarge, EIdHTTPHeadTooLarge, EIdInvalidURL), a response whose
// framing cannot be trusted (EIdHTTPMalformedResponse) and a bad port (EIdInvalidPort).
#include "http/TIdAuthentication.h"
#include "http/TIdCookieManager.h"
#include "http/TIdHTTPExchange.h"
#include "http/TIdHTTPRequest.h"
#include "http/TIdHTTPResponse.h"
#include "http/TIdProxyConnectionInfo.h"
#include "http/TIdTCPClient.h"
#include "http/TIdURI.h"

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TIdHTTPProtocol;
class TIdStream;

enum TIdHTTPOption : unsigned { hoInProcessAuth = 1, hoKeepOrigProtocol = 2, hoForceEncodeParams = 4 };
// A set of TIdHTTPOption values.
using TIdHTTPOptions = unsigned;

// Offered the raw response head; clearing VContinue finishes the request without reading a body.
using TIdHTTPOnHeadersAvailable =
    std::function<void(TIdCustomHTTP* Sender, const TIdHeaderList& AHeaders, bool& VContinue)>;
// Asked about a redirect: may change the destination and the method; Handled says follow.
using TIdHTTPOnRedirectEvent = std::function<void(TIdCustomHTTP* Sender, std::string& dest, int& NumRedirect,
                                                  bool& Handled, TIdHTTPMethod& VMethod)>;

class TIdCustomHTTP : public TIdTCPClient, private TIdHTTPExchange {
public:
    static constexpr std::size_t kDefaultMaxBodySize = std::size_t{256} << 20;
    // Interim (100) heads accepted in a row before the response counts as hostile.
    static constexpr int kMaxInterimResponses = 64;

    TIdCustomHTTP();
    ~TIdCustomHTTP() override;

    // The body of a successful response, byte for byte.
    std::string Get(const std::string& url);
    // The same, with status codes that do not raise (their body is dropped and "" returned).
    std::string Get(const std::string& url, const std::vector<int>& ignoreReplies);
    // Writes the body into the stream at its position.
    void Get(const std::string& url, TIdStream& stream, const std::vector<int>& ignoreReplies = {});

    void Disconnect() override;

    // Settings.
    bool HandleRedirects() const { return handleRedirects_; }
    void SetHandleRedirects(bool v) { handleRedirects_ = v; }
    int RedirectMaximum() const { return redirectMaximum_; }
    void SetRedirectMaximum(int v) { redirectMaximum_ = v; }
    TIdHTTPProtocolVersion ProtocolVersion() const { return protocolVersion_; }
    void SetProtocolVersion(TIdHTTPProtocolVersion v) { protocolVersion_ = v; }
    TIdHTTPOptions HTTPOptions() const { return httpOptions_; }
    void SetHTTPOptions(TIdHTTPOptions v) { httpOptions_ = v; }
    bool AllowCookies() const { return allowCookies_; }
    void SetAllowCookies(bool v) { allowCookies_ = v; }
    // The cookie store: one attached from outside (not owned; detach it before freeing it), or the
    // one the client creates at the first response when AllowCookies is set.
    TIdCookieManager* CookieManager() const { return cookieManager_; }
    void SetCookieManager(TIdCookieManager* m);
    TIdProxyConnectionInfo& ProxyParams() { return proxyParams_; }
    // A PEM file of CAs trusted for https besides the system's; handed to the OpenSSL handler
    // in use when set.
    const std::string& CAFile() const { return caFile_; }
    void SetCAFile(const std::string& file) { caFile_ = file; }
    int MaxAuthRetries() const { return maxAuthRetries_; }
    void SetMaxAuthRetries(int v) { maxAuthRetries_ = v; }
    int AuthRetries() const { return authRetries_; }
    void SetAuthRetries(int v) { authRetries_ = v; }
    int AuthProxyRetries() const { return authProxyRetries_; }
    void SetAuthProxyRetries(int v) { authProxyRetries_ = v; }
    // Most response header lines read; 0 or less for no line limit.
    int HeaderLineLimit() const { return headerLineLimit_; }
    void SetHeaderLineLimit(int v) { headerLineLimit_ = v; }
    // Most bytes a body kept in memory may have (also bounds the head when HeaderLineLimit is off);
    // 0 for no bound. Past it Get fails with EIdContentTooLarge.
    std::size_t MaxBodySize() const { return maxBodySize_; }
    void SetMaxBodySize(std::size_t v) { maxBodySize_ = v; }
    // Most milliseconds one Get may take as a whole, from the connect to the last byte of the body
    // (redirects and authentication rounds included); 0 for no limit. Past it Get fails with
    // EIdDeadlineExceeded, however steadily the bytes trickle in.
    int MaxTime() const { return maxTime_; }
    void SetMaxTime(int ms) { maxTime_ = ms; }
    int RedirectCount() const { return redirectCount_; }
    // Answers that end with their head: 1xx, 204 and 304.
    static bool HasNoBody(int code);

    TIdHTTPRequest& Request();
    TIdHTTPResponse& Response();
    // The URL record kept from one request to the next.
    TIdURI& URL() { return url_; }
    // The absolute URL of the current request, without user name and password:
    // "scheme://host:port/path?query", the port only when it is not the scheme's own.
    std::string CurrentURL() const;
    int ResponseCode();
    const std::string& ResponseText();

    TIdHTTPOnHeadersAvailable OnHeadersAvailable;
    TIdHTTPOnRedirectEvent OnRedirect;
    TIdOnSelectAuthorization OnSelectAuthorization;
    TIdOnAuthorization OnAuthorization;
    TIdOnSelectAuthorization OnSelectProxyAuthorization;
    TIdOnAuthorization OnProxyAuthorization;

protected:
    // The request loop for one method, URL and content stream.
    void DoRequest(TIdHTTPMethod method, const std::string& url, TIdStream* stream,
                   const std::vector<int>& ignoreReplies);

private:
    friend class TIdHTTPConnectTunnel;
    // What the protocol object does to the exchange.
    void ReadBody(TIdStream* stream) override;
    void DiscardBody(int readTimeout) override;
    void SetExchangeComplete(bool complete) override { exchangeComplete_ = complete; }
    void SetRedirectCount(int count) override { redirectCount_ = count; }

    void prepareRequest();
    // The request's user name and password for the kept URL's scheme, host and port.
    void applyCredentials(const TIdURI& next);
    // Opens or reuses the connection and composes the head; true when an open one was reused.
    bool connectToHost();
    // The kept URL's host, an IPv6 address in brackets.
    std::string bracketedHost() const;
    // Sets the host and port to connect to (the URL's or the proxy's) and the connection kind;
    // returns what the connection serves: "scheme://host:port", " via proxy" for a tunnel.
    std::string chooseTarget(bool tls);
    // Makes sure an https request has a handler that speaks TLS.
    void chooseHandler(bool tls);
    // The request's header lines, by its connection kind.
    void composeHead();
    // Sends the head and reads the response head, once more on a fresh connection when a reused
    // one turns out closed before any byte of the answer.
    void sendRequest();
    // The status line and headers, past every interim (1xx) head.
    void readResponseHead();
    void readChunked(TIdStream& stream);
    void ensureCookieManager();

    bool handleRedirects_ = false;
    int redirectMaximum_ = 15;
    TIdHTTPProtocolVersion protocolVersion_ = pv1_1;
    TIdHTTPOptions httpOptions_ = hoForceEncodeParams;
    bool allowCookies_ = true;
    TIdCookieManager* cookieManager_ = nullptr;
    std::unique_ptr<TIdCookieManager> ownedCookieManager_;
    TIdProxyConnectionInfo proxyParams_;
    int maxAuthRetries_ = 3;
    int authRetries_ = 0;
    int authProxyRetries_ = 0;
    int headerLineLimit_ = 255;
    std::size_t maxBodySize_ = kDefaultMaxBodySize;
    int maxTime_ = 0;
    int redirectCount_ = 0;
    TIdURI url_;
    std::unique_ptr<TIdHTTPProtocol> protocol_;
    // Whether the last response was read to its end, so the connection holds nothing of it.
    bool exchangeComplete_ = true;
    // User name and password given in URLs, by "scheme://host:port".
    std::map<std::string, std::pair<std::string, std::string>> urlCredentials_;
    // Whether the request's user name and password came from urlCredentials_.
    bool credentialsFromURL_ = false;
    // The "scheme://host:port" of the previous request.
    std::string lastOrigin_;
    // What the open connection serves: "scheme://host:port", with " via proxy" for a tunnel.
    std::string connectionKey_;
    std::string caFile_;
    // Credential objects of the sites the client left, by "scheme://host:port".
    std::map<std::string, std::unique_ptr<TIdAuthentication>> parkedAuthentications_;
};
