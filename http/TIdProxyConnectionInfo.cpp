#include "http/TIdProxyConnectionInfo.h"

#include "framework/core/AsciiText.h"

#include "http/TIdAuthenticationRegistry.h"

TIdProxyConnectionInfo::TIdProxyConnectionInfo() = default;
TIdProxyConnectionInfo::~TIdProxyConnectionInfo() = default;

void TIdProxyConnectionInfo::SetProxyServer(const std::string& v) {
    if (!SameText(v, proxyServer_))
        authentication_.reset();
    proxyServer_ = v;
}

void TIdProxyConnectionInfo::SetProxyPort(int v) {
    if (v != proxyPort_)
        authentication_.reset();
    proxyPort_ = v;
}

void TIdProxyConnectionInfo::Clear() {
    proxyServer_.clear();
    proxyUsername_.clear();
    proxyPassword_.clear();
    proxyPort_ = 0;
}

void TIdProxyConnectionInfo::Assign(const TIdProxyConnectionInfo& source) {
    if (&source == this)
        return;
    proxyPassword_ = source.proxyPassword_;
    SetProxyPort(source.proxyPort_);
    SetProxyServer(source.proxyServer_);
    proxyUsername_ = source.proxyUsername_;
    basicAuthentication_ = source.basicAuthentication_;
}

void TIdProxyConnectionInfo::SetHeaders(TIdHeaderList& headers) {
    IdAddAuthorizationHeader(headers, "Proxy-Authorization", authentication_, basicAuthentication_,
                             proxyUsername_, proxyPassword_);
}

bool TIdProxyConnectionInfo::AuthorizeProxy(TIdCustomHTTP* sender, const std::vector<std::string>& challenges,
                                            const TIdOnSelectAuthorization& onSelectProxyAuthorization,
                                            const TIdOnAuthorization& onProxyAuthorization,
                                            bool credentialsRefused) {
    if (!authentication_) {
        TIdAuthenticationClass kind = IdFindAuthClassForChallenges(challenges);
        if (!kind)
            return false;
        if (onSelectProxyAuthorization)
            onSelectProxyAuthorization(sender, kind, challenges);
        if (!kind)
            return false;
        authentication_ = kind->Create();
    }
    authentication_->Reset();
    authentication_->SetUsername(proxyUsername_);
    authentication_->SetPassword(proxyPassword_);
    authentication_->SetAuthParams(challenges);
    std::string username = proxyUsername_;
    std::string password = proxyPassword_;
    // The settings' user name and password answer a challenge once. Refused, they are not sent
    // again unasked, and they stay as the user wrote them: the proxy may accept them later.
    if (credentialsRefused) {
        if (!onProxyAuthorization)
            return false;
        bool handled = false;
        onProxyAuthorization(sender, authentication_.get(), handled);
        if (!handled)
            return false;
        username = authentication_->Username();
        password = authentication_->Password();
    } else if (username.empty() && password.empty() && !onProxyAuthorization) {
        return false;
    }
    if (!IdRunAuthenticationSteps(sender, *authentication_, username, password, onProxyAuthorization))
        return false;
    proxyUsername_ = username;
    proxyPassword_ = password;
    return true;
}
