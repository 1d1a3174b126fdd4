#pragma once
// One cookie, as a server's Set-Cookie (TIdCookieRFC2109) or Set-Cookie2 (TIdCookieRFC2965) value
// describes it. TIdNetscapeCookie is the plain kind both derive from.
//
//   set-cookie = name "=" value *( ";" attribute )      (pieces trimmed)
//   attribute  = attr-name [ "=" attr-value ]           (names without regard to case)
//   known      : path, expires, domain, secure;  max-age, version, comment (RFC 2109 on);
//                commenturl, discard, port (RFC 2965)
//
// Max-Age, when present and a number, decides the expiry (now + Max-Age, never beyond the
// year 9999; a negative one expires at once); otherwise a readable Expires does. A cookie whose
// name or value holds control characters, that is too large, or whose port list is not a list of
// ports is refused (Acceptable() is false): the store never keeps it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TIdNetscapeCookie {
public:
    // Name plus value beyond this many bytes is refused, as browsers do.
    static constexpr std::size_t kMaxNameValueSize = 4096;

    TIdNetscapeCookie();
    virtual ~TIdNetscapeCookie();
    virtual const char* ClassName() const { return "TIdNetscapeCookie"; }

    // The last header value parsed into this cookie. Setting it parses it (with now as the time
    // Max-Age counts from); setting the same text again does nothing.
    const std::string& CookieText() const { return cookieText_; }
    void SetCookieText(std::string_view text, int64_t now);
    void SetCookieText(std::string_view text);

    const std::string& CookieName() const { return name_; }
    void SetCookieName(const std::string& v) { name_ = v; }
    const std::string& Value() const { return value_; }
    void SetValue(const std::string& v) { value_ = v; }
    const std::string& Path() const { return path_; }
    void SetPath(const std::string& v) { path_ = v; }
    // The expires attribute as received, or the date Max-Age gave.
    const std::string& Expires() const { return expires_; }
    const std::string& Domain() const { return domain_; }
    void SetDomain(const std::string& v) { domain_ = v; }
    bool Secure() const { return secure_; }
    void SetSecure(bool v) { secure_ = v; }
    // Set without a Domain attribute: goes back to exactly the host that set it, never to the
    // hosts under it.
    bool HostOnly() const { return hostOnly_; }
    void SetHostOnly(bool v) { hostOnly_ = v; }
    // 0 Netscape, 1 RFC 2109, 2 RFC 2965; a cookie without an expiry text counts as 0.
    int InternalVersion() const { return internalVersion_; }

    // When the cookie expires (seconds since 1970 UTC); nothing for a cookie that lives as long
    // as the store.
    std::optional<int64_t> ExpiresAt() const { return expiresAt_; }
    // Expired at now (an expiry equal to now counts: Max-Age=0 deletes at once).
    bool IsExpired(int64_t now) const { return expiresAt_ && *expiresAt_ <= now; }
    // Whether the store may keep it (see the top of this file).
    bool Acceptable() const { return acceptable_; }

    // name "=" value, as a Cookie header carries it.
    std::string ClientCookie() const;
    // The cookie as a server would send it: name "=" value and its attributes.
    virtual std::string ServerCookie() const;

    // Order of first storing, kept across replacement; the store sets it.
    uint64_t CreationIndex() const { return creationIndex_; }
    void SetCreationIndex(uint64_t v) { creationIndex_ = v; }

protected:
    struct Attribute {
        std::string name; // upper case
        std::string value;
        bool hasValue = false;
    };
    using Attributes = std::vector<Attribute>;

    // Reads the attributes into the fields; the fields hold their defaults on entry.
    virtual void LoadProperties(const Attributes& attributes, int64_t now);
    virtual void ResetProperties();
    static const Attribute* Find(const Attributes& attributes, std::string_view upperName);
    void SetInternalVersion(int v) { internalVersion_ = v; }
    void SetExpiresText(const std::string& v) { expires_ = v; }
    void SetExpiresAt(std::optional<int64_t> v) { expiresAt_ = v; }
    void Refuse() { acceptable_ = false; }

private:
    std::string cookieText_;
    bool parsed_ = false;
    std::string name_;
    std::string value_;
    std::string path_ = "/";
    std::string expires_;
    std::string domain_;
    bool secure_ = false;
    bool hostOnly_ = false;
    int internalVersion_ = 0;
    std::optional<int64_t> expiresAt_;
    bool acceptable_ = true;
    uint64_t creationIndex_ = 0;
};

// The kind made for Set-Cookie.
class TIdCookieRFC2109 : public TIdNetscapeCookie {
public:
    TIdCookieRFC2109();
    const char* ClassName() const override { return "TIdCookieRFC2109"; }
    std::string ServerCookie() const override;

    // Seconds the cookie lives; -1 when none was given.
    int64_t MaxAge() const { return maxAge_; }
    const std::string& Version() const { return version_; }
    const std::string& Comment() const { return comment_; }

protected:
    void LoadProperties(const Attributes& attributes, int64_t now) override;
    void ResetProperties() override;
    virtual int KindVersion() const { return 1; }

private:
    int64_t maxAge_ = -1;
    std::string version_;
    std::string comment_;
};

// The kind made for Set-Cookie2.
class TIdCookieRFC2965 : public TIdCookieRFC2109 {
public:
    TIdCookieRFC2965();
    const char* ClassName() const override { return "TIdCookieRFC2965"; }

    const std::string& CommentURL() const { return commentURL_; }
    bool Discard() const { return discard_; }
    // The ports the cookie names: 80 when it names none; empty for a Port value that is not a
    // quoted list.
    const std::vector<int>& PortList() const { return portList_; }

protected:
    void LoadProperties(const Attributes& attributes, int64_t now) override;
    void ResetProperties() override;
    int KindVersion() const override { return 2; }

private:
    std::string commentURL_;
    bool discard_ = false;
    std::vector<int> portList_{80};
};
