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
                                            const TIdOnAuthorization& onProxyAuthorization) {
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
    proxyPassword_.clear();
    authentication_->Reset();
    if (!onProxyAuthorization)
        return false;
    authentication_->SetUsername(proxyUsername_);
    authentication_->SetPassword(proxyPassword_);
    authentication_->SetAuthParams(challenges);
    return IdRunAuthenticationSteps(sender, *authentication_, proxyUsername_, proxyPassword_,
                                    onProxyAuthorization);
}
