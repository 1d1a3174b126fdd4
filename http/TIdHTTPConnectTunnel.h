#pragma once
// The tunnel through an HTTP proxy to an https server:
//
//   CONNECT host:port HTTP/1.1
//   Host: host:port
//   User-Agent: ...
//   Proxy-Authorization: ...      (by the proxy rules: Basic from the start when set, else
//                                  after one 407, with the user name and password set)
//
// Any 2xx answer opens the tunnel: it has no body, and the bytes after its head are the
// server's. A 407 is answered as the proxy rules say, within MaxAuthRetries; anything else fails
// with EIdHTTPProtocolException carrying the answer's status line and body. Nothing of the
// request for the server (its path, credentials, cookies) is shown to the proxy.
class TIdCustomHTTP;

class TIdHTTPConnectTunnel {
public:
    // On the client's open plain connection to its proxy, to the host and port of its URL.
    static void Open(TIdCustomHTTP& http);
};
