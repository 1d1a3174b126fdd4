#pragma once
// The fields of a request head and the composition of its header lines, in the fixed order the
// client writes them.
#include "http/TIdAuthentication.h"
#include "http/TIdEntityHeaderInfo.h"

#include <memory>

class TIdRequestHeaderInfo : public TIdEntityHeaderInfo {
public:
    static constexpr const char* kDefaultAccept = "text/html, */*";
    static constexpr const char* kDefaultUserAgent = "Mozilla/3.0 (compatible; Zelmora Library)";

    TIdRequestHeaderInfo();
    void Clear() override;
    // Rebuilds RawHeaders from the fields: Connection, Content-Version, Content-Encoding,
    // Content-Language, Content-Type, Content-Length, Content-Range, Cache-control, Date, Expires,
    // Pragma, the custom lines, Proxy-Connection, Host, Accept, Accept-Charset, Accept-Encoding,
    // Accept-Language, From, Referer, User-Agent, Range, If-Modified-Since, Authorization; each
    // only when it has a value.
    void SetHeaders();

    const std::string& Accept() const { return accept_; }
    void SetAccept(const std::string& v) { accept_ = v; }
    const std::string& AcceptCharSet() const { return acceptCharSet_; }
    void SetAcceptCharSet(const std::string& v) { acceptCharSet_ = v; }
    const std::string& AcceptEncoding() const { return acceptEncoding_; }
    void SetAcceptEncoding(const std::string& v) { acceptEncoding_ = v; }
    const std::string& AcceptLanguage() const { return acceptLanguage_; }
    void SetAcceptLanguage(const std::string& v) { acceptLanguage_ = v; }
    const std::string& From() const { return from_; }
    void SetFrom(const std::string& v) { from_ = v; }
    const std::string& Referer() const { return referer_; }
    void SetReferer(const std::string& v) { referer_ = v; }
    const std::string& UserAgent() const { return userAgent_; }
    void SetUserAgent(const std::string& v) { userAgent_ = v; }
    const std::string& Host() const { return host_; }
    void SetHost(const std::string& v) { host_ = v; }
    const std::string& Range() const { return range_; }
    void SetRange(const std::string& v) { range_ = v; }
    const std::string& ProxyConnection() const { return proxyConnection_; }
    void SetProxyConnection(const std::string& v) { proxyConnection_ = v; }
    const std::string& Username() const { return username_; }
    void SetUsername(const std::string& v) { username_ = v; }
    const std::string& Password() const { return password_; }
    void SetPassword(const std::string& v) { password_ = v; }
    std::string& UsernameRef() { return username_; }
    std::string& PasswordRef() { return password_; }
    bool BasicAuthentication() const { return basicAuthentication_; }
    void SetBasicAuthentication(bool v) { basicAuthentication_ = v; }
    // The credential object in use for the server (owned), or nullptr.
    TIdAuthentication* Authentication() const { return authentication_.get(); }
    void SetAuthentication(std::unique_ptr<TIdAuthentication> v) { authentication_ = std::move(v); }
    std::unique_ptr<TIdAuthentication>& AuthenticationSlot() { return authentication_; }

protected:
    std::string accept_;
    std::string acceptCharSet_;
    std::string acceptEncoding_;
    std::string acceptLanguage_;
    std::string from_;
    std::string referer_;
    std::string userAgent_;
    std::string host_;
    std::string range_;
    std::string proxyConnection_;
    std::string username_;
    std::string password_;
    bool basicAuthentication_ = false;
    std::unique_ptr<TIdAuthentication> authentication_;
};
