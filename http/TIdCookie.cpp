#include "http/TIdCookie.h"

#include "http/TIdCookieDate.h"

namespace {

// Only blanks are trimmed: a control character at the end of a name or value must stay visible
// so the cookie can be refused.
bool isTrimmed(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isTrimmed(s[b]))
        ++b;
    while (e > b && isTrimmed(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// Control characters other than a tab inside a name or a value make a cookie unusable: they would
// end up verbatim in a later request head.
bool hasControl(std::string_view s) {
    for (char c : s) {
        unsigned char u = static_cast<unsigned char>(c);
        if ((u < 0x20 && u != '\t') || u == 0x7F)
            return true;
    }
    return false;
}

// A decimal integer with an optional sign, saturating far beyond any useful age; nothing for
// anything else.
std::optional<int64_t> parseInteger(std::string_view s) {
    s = trim(s);
    bool negative = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return std::nullopt;
    int64_t n = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        if (n < kIdCookieTimeMax)
            n = n * 10 + (c - '0');
    }
    return negative ? -n : n;
}

} // namespace

TIdNetscapeCookie::TIdNetscapeCookie() = default;
TIdNetscapeCookie::~TIdNetscapeCookie() = default;

const TIdNetscapeCookie::Attribute* TIdNetscapeCookie::Find(const Attributes& attributes,
                                                            std::string_view upperName) {
    for (const Attribute& a : attributes)
        if (a.name == upperName)
            return &a;
    return nullptr;
}

void TIdNetscapeCookie::SetCookieText(std::string_view text) {
    SetCookieText(text, IdUnixNow());
}

void TIdNetscapeCookie::SetCookieText(std::string_view text, int64_t now) {
    if (parsed_ && text == cookieText_)
        return;
    parsed_ = true;
    cookieText_ = std::string(text);

    // Pieces between semicolons, each trimmed; the first is name=value.
    std::vector<std::string_view> pieces;
    std::size_t pos = 0;
    while (true) {
        std::size_t semi = text.find(';', pos);
        std::string_view piece =
            trim(text.substr(pos, semi == std::string_view::npos ? std::string_view::npos : semi - pos));
        if (semi == std::string_view::npos) {
            if (!piece.empty() || pieces.empty())
                pieces.push_back(piece);
            break;
        }
        pieces.push_back(piece);
        pos = semi + 1;
    }

    std::string_view first = pieces.front();
    std::size_t eq = first.find('=');
    name_ = std::string(trim(first.substr(0, eq)));
    value_ = eq == std::string_view::npos ? std::string() : std::string(trim(first.substr(eq + 1)));

    Attributes attributes;
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        std::string_view p = pieces[i];
        if (p.empty())
            continue;
        std::size_t e = p.find('=');
        Attribute a;
        a.name = upper(trim(p.substr(0, e)));
        if (e != std::string_view::npos) {
            a.value = std::string(trim(p.substr(e + 1)));
            a.hasValue = true;
        }
        attributes.push_back(std::move(a));
    }

    acceptable_ = true;
    ResetProperties();
    LoadProperties(attributes, now);
    if (hasControl(name_) || hasControl(value_) || name_.size() + value_.size() > kMaxNameValueSize ||
        (name_.empty() && value_.empty()))
        acceptable_ = false;
}

void TIdNetscapeCookie::ResetProperties() {
    path_ = "/";
    expires_.clear();
    domain_.clear();
    secure_ = false;
    internalVersion_ = 0;
    expiresAt_.reset();
}

void TIdNetscapeCookie::LoadProperties(const Attributes& attributes, int64_t /*now*/) {
    if (const Attribute* a = Find(attributes, "PATH")) {
        std::string_view p = a->value;
        if (!p.empty() && p.front() == '"')
            p.remove_prefix(1);
        if (!p.empty() && p.back() == '"')
            p.remove_suffix(1);
        path_ = p.empty() ? "/" : std::string(p);
    }
    if (const Attribute* a = Find(attributes, "EXPIRES")) {
        expires_ = a->value;
        // An unreadable date is ignored: the cookie lives as long as the store.
        expiresAt_ = expires_.empty() ? std::nullopt : IdParseCookieDate(expires_);
    }
    if (const Attribute* a = Find(attributes, "DOMAIN"))
        domain_ = a->value;
    // Compatibility: "Secure=anything" counts as the flag too; a secure cookie sent in clear text
    // would be the worse mistake.
    secure_ = Find(attributes, "SECURE") != nullptr;
}

std::string TIdNetscapeCookie::ClientCookie() const {
    return name_ + "=" + value_;
}

std::string TIdNetscapeCookie::ServerCookie() const {
    std::string s = ClientCookie();
    if (!path_.empty())
        s += "; path=" + path_;
    if (internalVersion_ == 0 && !expires_.empty())
        s += "; expires=" + expires_;
    if (!domain_.empty())
        s += "; domain=" + domain_;
    if (secure_)
        s += "; secure";
    return s;
}

TIdCookieRFC2109::TIdCookieRFC2109() {
    SetInternalVersion(1);
}

void TIdCookieRFC2109::ResetProperties() {
    TIdNetscapeCookie::ResetProperties();
    maxAge_ = -1;
    version_.clear();
    comment_.clear();
}

void TIdCookieRFC2109::LoadProperties(const Attributes& attributes, int64_t now) {
    TIdNetscapeCookie::LoadProperties(attributes, now);
    SetInternalVersion(KindVersion());
    if (ExpiresAt())
        maxAge_ = *ExpiresAt() - IdCookieClamp(now);
    if (const Attribute* a = Find(attributes, "MAX-AGE")) {
        if (std::optional<int64_t> age = parseInteger(a->value)) {
            // A negative Max-Age expires the cookie at once; a huge one ends in the year 9999.
            int64_t at = IdCookieAddSeconds(now, *age < 0 ? 0 : *age);
            maxAge_ = at - IdCookieClamp(now);
            SetExpiresAt(at); // Max-Age wins over Expires
        }
    }
    if (const Attribute* a = Find(attributes, "VERSION"))
        version_ = a->value;
    if (const Attribute* a = Find(attributes, "COMMENT"))
        comment_ = a->value;
    if (Expires().empty()) {
        SetInternalVersion(0);
        if (maxAge_ >= 0)
            SetExpiresText(IdInternetDate(*ExpiresAt()));
    }
}

std::string TIdCookieRFC2109::ServerCookie() const {
    std::string s = TIdNetscapeCookie::ServerCookie();
    if (maxAge_ >= 0)
        s += "; max-age=" + std::to_string(maxAge_);
    if (!comment_.empty())
        s += "; comment=" + comment_;
    if (!version_.empty())
        s += "; version=" + version_;
    return s;
}

TIdCookieRFC2965::TIdCookieRFC2965() {
    SetInternalVersion(2);
}

void TIdCookieRFC2965::ResetProperties() {
    TIdCookieRFC2109::ResetProperties();
    commentURL_.clear();
    discard_ = false;
    portList_ = {80};
}

void TIdCookieRFC2965::LoadProperties(const Attributes& attributes, int64_t now) {
    TIdCookieRFC2109::LoadProperties(attributes, now);
    if (const Attribute* a = Find(attributes, "COMMENTURL"))
        commentURL_ = a->value;
    discard_ = Find(attributes, "DISCARD") != nullptr;
    if (const Attribute* a = Find(attributes, "PORT")) {
        portList_.clear();
        std::string_view v = a->value;
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"') {
            v = v.substr(1, v.size() - 2);
            if (trim(v).empty())
                return;
            std::size_t pos = 0;
            while (true) {
                std::size_t comma = v.find(',', pos);
                std::optional<int64_t> port = parseInteger(
                    v.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos));
                // A list that is not all ports makes the whole cookie unusable; the fetch it came
                // with goes on.
                if (!port || *port < 0 || *port > 65535) {
                    portList_.clear();
                    Refuse();
                    return;
                }
                portList_.push_back(static_cast<int>(*port));
                if (comma == std::string_view::npos)
                    break;
                pos = comma + 1;
            }
        }
    }
}
