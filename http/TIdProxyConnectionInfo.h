#pragma once
// The HTTP client's proxy parameters: where the proxy is, whose credentials it gets, and the
// credential object in use for it.
//
// An empty ProxyServer means direct connections. Moving to another server (compared without
// regard to case) or port drops the credential object, so a new proxy never sees the old one's
// Proxy-Authorization.
#include "http/TIdAuthentication.h"
#include "http/TIdHeaderList.h"

#include <memory>
#include <string>
#include <vector>

class TIdProxyConnectionInfo {
public:
    TIdProxyConnectionInfo();
    ~TIdProxyConnectionInfo();

    const std::string& ProxyServer() const { return proxyServer_; }
    void SetProxyServer(const std::string& v);
    int ProxyPort() const { return proxyPort_; }
    void SetProxyPort(int v);
    const std::string& ProxyUsername() const { return proxyUsername_; }
    void SetProxyUsername(const std::string& v) { proxyUsername_ = v; }
    const std::string& ProxyPassword() const { return proxyPassword_; }
    void SetProxyPassword(const std::string& v) { proxyPassword_ = v; }
    // Send Basic credentials from the first request on.
    bool BasicAuthentication() const { return basicAuthentication_; }
    void SetBasicAuthentication(bool v) { basicAuthentication_ = v; }

    // The credential object in use for the proxy (owned), or nullptr.
    TIdAuthentication* Authentication() const { return authentication_.get(); }
    void SetAuthentication(std::unique_ptr<TIdAuthentication> v) { authentication_ = std::move(v); }
    std::unique_ptr<TIdAuthentication>& AuthenticationSlot() { return authentication_; }

    // Empties server, user name and password and sets the port to 0; the credential object and
    // BasicAuthentication stay.
    void Clear();
    // Copies server, port, user name, password and BasicAuthentication.
    void Assign(const TIdProxyConnectionInfo& source);

    // Adds Proxy-Authorization to a request head when there is something to send.
    void SetHeaders(TIdHeaderList& headers);

    // The decision after a 407; challenges are the response's Proxy-Authenticate values and
    // credentialsRefused says the refused request carried credentials already. Without a handler
    // the user name and password set here answer the challenge once; with OnProxyAuthorization
    // the handler is asked when there is no user name or the one sent was refused. The password
    // is never erased. True means send the request again. The caller counts the retry and bounds
    // it.
    bool AuthorizeProxy(TIdCustomHTTP* sender, const std::vector<std::string>& challenges,
                        const TIdOnSelectAuthorization& onSelectProxyAuthorization,
                        const TIdOnAuthorization& onProxyAuthorization, bool credentialsRefused = false);

private:
    std::string proxyServer_;
    int proxyPort_ = 0;
    std::string proxyUsername_;
    std::string proxyPassword_;
    bool basicAuthentication_ = false;
    std::unique_ptr<TIdAuthentication> authentication_;
};
