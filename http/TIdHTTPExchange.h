#pragma once
// What one request/response pair (TIdHTTPProtocol) may do to its client beyond the client's
// public settings and events: read or drop the body, say whether the response was read to its
// end, and set the redirect counter. The client implements it privately and hands it to its
// protocol object alone.
class TIdStream;

class TIdHTTPExchange {
public:
    // Reads the response body into the stream as the head frames it: by length, by chunks, or up
    // to the server's close. Nothing without a stream.
    virtual void ReadBody(TIdStream* stream) = 0;
    // Reads and drops the body, with this read time-out for it; a failure leaves the exchange
    // unfinished instead of raising.
    virtual void DiscardBody(int readTimeout) = 0;
    // Whether the response has been read to its end, so the connection holds nothing of it.
    virtual void SetExchangeComplete(bool complete) = 0;
    virtual void SetRedirectCount(int count) = 0;

protected:
    ~TIdHTTPExchange() = default;
};
