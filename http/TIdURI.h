#pragma once
// A URL record: splits a URL text into protocol, user part, host, port, path, document, params and
// bookmark, composes an absolute URL again, and resolves a path against a base path. Nothing is
// percent-encoded or decoded: the caller's characters go on as written (backslashes aside).
//
//   absolute:  protocol "://" [user [":" password] "@"] host [":" port] [("/" | "?" | "#") rest]
//              (the authority ends at the first "/", "?" or "#")
//   relative:  rest
//   rest:      [path "/"] document [params] ["#" bookmark]; params start at the first "?", or at the
//              first "=" when there is no "?"
#include "http/IdGlobal.h"

#include <string>
#include <string_view>

enum TIdURIOptionalField : unsigned { ofAuthInfo = 1, ofBookmark = 2 };

class TIdURI {
public:
    TIdURI() = default;
    explicit TIdURI(const std::string& uri);

    // Splits the text into the fields (all cleared first).
    void SetURI(const std::string& uri);
    // Composes with user part and bookmark into the kept URI text, and returns the URL without
    // either (the form a proxied request line takes).
    std::string URI();
    // The absolute URL; `fields` is a combination of TIdURIOptionalField. Raises EIdURIException
    // "Protocol field is empty" or "Host field is empty".
    std::string GetFullURI(unsigned fields = ofAuthInfo | ofBookmark) const;
    // The last text split or composed.
    const std::string& URIText() const { return uri_; }

    // Resolves path against base ("/" delimited): "." segments stay, ".." climbs, runs of "/"
    // collapse; a path starting with "/" is returned as it is.
    static std::string ResolvePath(const std::string& base, const std::string& path);
    // A port as a URL or the settings give it: decimal digits only, 1 to 65535.
    static bool ParsePort(std::string_view text, int& port);

    const std::string& Protocol() const { return protocol_; }
    void SetProtocol(const std::string& v) { protocol_ = v; }
    const std::string& Username() const { return username_; }
    void SetUsername(const std::string& v) { username_ = v; }
    const std::string& Password() const { return password_; }
    void SetPassword(const std::string& v) { password_ = v; }
    const std::string& Host() const { return host_; }
    void SetHost(const std::string& v) { host_ = v; }
    const std::string& Port() const { return port_; }
    void SetPort(const std::string& v) { port_ = v; }
    const std::string& Path() const { return path_; }
    void SetPath(const std::string& v) { path_ = v; }
    const std::string& Document() const { return document_; }
    void SetDocument(const std::string& v) { document_ = v; }
    const std::string& Params() const { return params_; }
    void SetParams(const std::string& v) { params_ = v; }
    const std::string& Bookmark() const { return bookmark_; }
    void SetBookmark(const std::string& v) { bookmark_ = v; }
    TIdIPVersion IPVersion() const { return ipVersion_; }
    void SetIPVersion(TIdIPVersion v) { ipVersion_ = v; }

private:
    void clear();
    void splitRest(const std::string& rest, bool absolute);

    std::string uri_;
    std::string protocol_;
    std::string username_;
    std::string password_;
    std::string host_;
    std::string port_;
    std::string path_;
    std::string document_;
    std::string params_;
    std::string bookmark_;
    TIdIPVersion ipVersion_ = Id_IPv4;
};
