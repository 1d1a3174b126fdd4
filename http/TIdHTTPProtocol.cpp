#include "http/TIdHTTPProtocol.h"

#include "framework/core/AsciiText.h"

#include "http/EIdException.h"
#include "http/TIdCustomHTTP.h"
#include "http/TIdRedirectTarget.h"
#include "http/TIdStringStream.h"

#include <algorithm>
#include <string_view>

namespace {

std::string_view trimmed(std::string_view s) {
    const std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// Whether a comma-separated list of codings (with ";q=" weights) accepts the coding.
bool accepts(std::string_view list, std::string_view coding) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        std::string_view item = list.substr(0, comma);
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        const std::size_t semi = item.find(';');
        if (!SameText(trimmed(item.substr(0, semi)), coding) && trimmed(item.substr(0, semi)) != "*")
            continue;
        // "q=0" (any spelling of zero) refuses the coding.
        std::string_view weight =
            semi == std::string_view::npos ? std::string_view() : trimmed(item.substr(semi + 1));
        const bool refused = weight.size() >= 3 && AsciiLower(weight[0]) == 'q' && weight[1] == '=' &&
                             trimmed(weight.substr(2)).find_first_not_of("0.") == std::string_view::npos;
        return !refused;
    }
    return false;
}

// The first content coding of the response that the request did not accept, or "".
std::string unacceptedCoding(std::string_view contentEncoding, std::string_view acceptEncoding) {
    while (!contentEncoding.empty()) {
        const std::size_t comma = contentEncoding.find(',');
        std::string_view coding = trimmed(contentEncoding.substr(0, comma));
        contentEncoding =
            comma == std::string_view::npos ? std::string_view() : contentEncoding.substr(comma + 1);
        if (!coding.empty() && !SameText(coding, "identity") && !accepts(acceptEncoding, coding))
            return std::string(coding);
    }
    return std::string();
}

} // namespace

TIdHTTPProtocol::TIdHTTPProtocol(TIdCustomHTTP& http, TIdHTTPExchange& exchange)
    : http_(http), exchange_(exchange), response_(http) {}

void TIdHTTPProtocol::BuildAndSendRequest() {
    TIdIOHandler& io = *http_.IOHandler();
    io.WriteBufferOpen();
    try {
        std::string line = IdHTTPMethodName(request_.Method());
        line += ' ';
        line += request_.URL();
        line += http_.ProtocolVersion() == pv1_0 ? " HTTP/1.0" : " HTTP/1.1";
        io.WriteLn(line);
        for (const std::string& header : request_.RawHeaders().Lines()) {
            if (!header.empty())
                io.WriteLn(header);
        }
        io.WriteLn("");
        io.WriteBufferClose();
    } catch (...) {
        io.WriteBufferCancel();
        throw;
    }
}

void TIdHTTPProtocol::RetrieveHeaders() {
    TIdIOHandler& io = *http_.IOHandler();
    response_.SetResponseText(io.ReadLn());
    TIdHeaderList& raw = response_.RawHeaders();
    raw.Clear();
    const int limit = http_.HeaderLineLimit();
    const std::size_t byteBound = http_.MaxBodySize();
    std::size_t bytes = 0;
    int read = 0;
    try {
        for (;;) {
            ++read;
            std::string line = io.ReadLn();
            if (line.empty())
                break;
            // Past the line limit the rest of the head would be taken for the body; refuse instead.
            if (limit > 0 && raw.Count() >= limit)
                throw EIdHTTPHeadTooLarge("Response head has more than " + std::to_string(limit) +
                                          " header lines.");
            bytes += line.size();
            if (limit <= 0 && byteBound != 0 && bytes > byteBound)
                throw EIdHTTPHeadTooLarge("Response head is larger than " + std::to_string(byteBound) +
                                          " bytes.");
            raw.Add(std::move(line));
        }
    } catch (const EIdConnClosedGracefully&) {
        if (read <= 1)
            throw;
        // A head without its blank line is not a whole answer: what it announces about the body
        // (its length, even its status) may be cut short.
        http_.Disconnect();
        throw EIdHTTPMalformedResponse(
            "The server closed the connection before the end of the response head.");
    }
    response_.ProcessHeaders();
    // Two lengths leave the body's end to a guess, and a wrong guess lets the rest be taken for
    // the next answer.
    std::vector<std::string> lengths = raw.Extract("Content-Length");
    for (const std::string& l : lengths) {
        if (TrimControls(l) != TrimControls(lengths.front()))
            throw EIdHTTPMalformedResponse("The response has two different Content-Length values.");
    }
}

TIdHTTPWhatsNext TIdHTTPProtocol::raiseResponse(const std::vector<int>& ignoreReplies,
                                                const std::string& refusal) {
    TIdStringStream body;
    body.SetMaxSize(http_.MaxBodySize());
    try {
        exchange_.ReadBody(&body);
    } catch (const EIdConnClosedGracefully&) {
        // What came before the close still goes with the status.
    }
    exchange_.SetExchangeComplete(true);
    const int code = response_.ResponseCode();
    if (std::find(ignoreReplies.begin(), ignoreReplies.end(), code) != ignoreReplies.end())
        return TIdHTTPWhatsNext::wnJustExit;
    if (!refusal.empty())
        throw EIdHTTPRedirectRefused(refusal, code, body.Take());
    throw EIdHTTPProtocolException(response_.ResponseText(), code, body.Take());
}

TIdHTTPWhatsNext TIdHTTPProtocol::redirect(const std::vector<int>& ignoreReplies) {
    // Redirects are followed only when asked for and while the count is below the maximum; past
    // it the redirect fails like any refused response rather than passing for an empty success.
    // Which codes deserve following is the caller's to say through OnRedirect (the feed fetch
    // takes only those that say "moved").
    const int code = response_.ResponseCode();
    const bool mayFollow = http_.HandleRedirects() && http_.RedirectCount() < http_.RedirectMaximum();
    std::string location = response_.Location();
    TIdHTTPMethod method = request_.Method();
    int count = http_.RedirectCount();
    bool handled = http_.HandleRedirects();
    if (http_.OnRedirect)
        http_.OnRedirect(&http_, location, count, handled, method);
    exchange_.SetRedirectCount(count);
    if (!mayFollow || !handled)
        return raiseResponse(ignoreReplies);
    const TIdRedirectTarget target = IdRedirectTarget(http_.CurrentURL(), location);
    if (!target.Refusal.empty())
        return raiseResponse(ignoreReplies, target.Refusal);
    request_.SetURL(target.URL);
    if (code == 302 || code == 303) {
        request_.SetMethod(hmGet);
        request_.SetSource(nullptr);
    } else {
        request_.SetMethod(method);
    }
    exchange_.DiscardBody(4000);
    return TIdHTTPWhatsNext::wnGoToURL;
}

TIdHTTPWhatsNext TIdHTTPProtocol::ProcessResponse(const std::vector<int>& ignoreReplies) {
    const int code = response_.ResponseCode();
    const int kind = code / 100;
    bool goOn = true;
    if (http_.OnHeadersAvailable)
        http_.OnHeadersAvailable(&http_, response_.RawHeaders(), goOn);
    if (!goOn) {
        // The body stays unread, so the connection cannot serve another request.
        exchange_.SetExchangeComplete(TIdCustomHTTP::HasNoBody(code) ||
                                      (response_.HasContentLength() && response_.ContentLength() == 0));
        return TIdHTTPWhatsNext::wnJustExit;
    }
    // Only a 3xx redirects; a Location on any other answer (a 200 or a 201 may carry one) is
    // information, not an instruction.
    if (kind == 3 && code != 304)
        return redirect(ignoreReplies);
    if (kind == 2) {
        if (code != 204) {
            const std::string coding =
                unacceptedCoding(response_.ContentEncoding(), request_.AcceptEncoding());
            if (!coding.empty())
                throw EIdHTTPContentEncodingNotAccepted("The response body is in the content coding \"" +
                                                        coding + "\", which was not asked for.");
            exchange_.ReadBody(response_.ContentStream());
        }
        exchange_.SetExchangeComplete(true);
        return TIdHTTPWhatsNext::wnJustExit;
    }
    if (code == 401 || code == 407) {
        const bool proxy = code == 407;
        const int retries = proxy ? http_.AuthProxyRetries() : http_.AuthRetries();
        bool authorized = false;
        if (retries < http_.MaxAuthRetries()) {
            if (proxy)
                http_.SetAuthProxyRetries(retries + 1);
            else
                http_.SetAuthRetries(retries + 1);
            if (proxy)
                authorized = http_.ProxyParams().AuthorizeProxy(
                    &http_, response_.ProxyAuthenticate(), http_.OnSelectProxyAuthorization,
                    http_.OnProxyAuthorization, !request_.RawHeaders().Values("Proxy-Authorization").empty());
            else
                authorized = IdAuthorizeServer(&http_, request_.AuthenticationSlot(), request_.UsernameRef(),
                                               request_.PasswordRef(), response_.WWWAuthenticate(),
                                               http_.OnSelectAuthorization, http_.OnAuthorization);
        }
        if (authorized && (http_.HTTPOptions() & hoInProcessAuth)) {
            exchange_.DiscardBody(http_.ReadTimeout());
            return TIdHTTPWhatsNext::wnAuthRequest;
        }
        // Without in-process authentication the challenge goes to the caller as the refusal it
        // is, not as a body passed off as success; the credentials stay ready for its next Get.
        if (authorized)
            return raiseResponse(ignoreReplies);
        TIdAuthentication* auth = proxy ? http_.ProxyParams().Authentication() : request_.Authentication();
        if (auth)
            auth->Reset();
    }
    return raiseResponse(ignoreReplies);
}
