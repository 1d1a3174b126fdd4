#pragma once
// One request/response pair of the client: writes the request head, reads the response head and
// judges the response.
#include "http/TIdHTTPRequest.h"
#include "http/TIdHTTPResponse.h"

#include <vector>

class TIdCustomHTTP;
class TIdHTTPExchange;

// What the request loop does after a response.
enum class TIdHTTPWhatsNext { wnJustExit, wnGoToURL, wnAuthRequest };

class TIdHTTPProtocol {
public:
    // The client's public settings and events come through http; what only an exchange may do
    // to the client comes through exchange.
    TIdHTTPProtocol(TIdCustomHTTP& http, TIdHTTPExchange& exchange);

    TIdHTTPRequest& Request() { return request_; }
    TIdHTTPResponse& Response() { return response_; }

    // Composes the head and writes it in one send.
    void BuildAndSendRequest();
    // Reads the status line and the header lines and parses them.
    void RetrieveHeaders();
    // Judges the response, reading its body where it has one; raises EIdHTTPProtocolException
    // for a response that is not accepted unless its code is in ignoreReplies.
    TIdHTTPWhatsNext ProcessResponse(const std::vector<int>& ignoreReplies);

private:
    TIdHTTPWhatsNext redirect(const std::vector<int>& ignoreReplies);
    // Reads the body and raises EIdHTTPProtocolException, or EIdHTTPRedirectRefused with the
    // refusal as message when one is given.
    TIdHTTPWhatsNext raiseResponse(const std::vector<int>& ignoreReplies,
                                   const std::string& refusal = std::string());

    TIdCustomHTTP& http_;
    TIdHTTPExchange& exchange_;
    TIdHTTPRequest request_;
    TIdHTTPResponse response_;
};
