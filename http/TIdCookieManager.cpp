#include "http/TIdCookieManager.h"

#include "http/TIdPublicSuffix.h"

#include <algorithm>
#include <mutex>
#include <shared_mutex>

namespace {

std::string lowerTrimmed(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    std::string out(s.substr(b, e - b));
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// The form a domain is kept and compared in: lower case, one leading dot dropped.
std::string normalDomain(std::string_view domain) {
    std::string d = lowerTrimmed(domain);
    if (!d.empty() && d.front() == '.')
        d.erase(0, 1);
    return d;
}

// Host names and domains hold no blanks or control characters and no empty labels (a leading
// dot is dropped before this is asked); one that does matches nothing.
bool isCleanName(const std::string& s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F)
            return false;
    return !s.empty() && s.front() != '.' && s.find("..") == std::string::npos;
}

// host ends with "." + domain.
bool isSubdomainOf(const std::string& host, const std::string& domain) {
    return host.size() > domain.size() &&
           host.compare(host.size() - domain.size(), domain.size(), domain) == 0 &&
           host[host.size() - domain.size() - 1] == '.';
}

// Hosts compared only for equality: IPv4 and IPv6 literals.
bool isAddress(const std::string& host) {
    return TIdCookieManager::IsIPv4Address(host) || host.find(':') != std::string::npos;
}

} // namespace

TIdCookieManager::TIdCookieManager() = default;

TIdCookieManager::~TIdCookieManager() {
    RemoveExpiredCookies();
    if (OnDestroy)
        OnDestroy(this, &cookies_);
}

void TIdCookieManager::DoOnCreate() {
    if (OnCreate)
        OnCreate(this, &cookies_);
}

bool TIdCookieManager::IsIPv4Address(std::string_view host) {
    std::string h = lowerTrimmed(host);
    int parts = 0;
    std::size_t pos = 0;
    while (true) {
        std::size_t dot = h.find('.', pos);
        std::string_view part =
            std::string_view(h).substr(pos, dot == std::string::npos ? std::string::npos : dot - pos);
        if (part.empty() || part.size() > 3 ||
            !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        int n = 0;
        for (char c : part)
            n = n * 10 + (c - '0');
        if (n > 255)
            return false;
        ++parts;
        if (dot == std::string::npos)
            break;
        pos = dot + 1;
    }
    return parts == 4;
}

bool TIdCookieManager::IsValidCookieDomain(std::string_view domain, std::string_view host) {
    std::string h = lowerTrimmed(host);
    std::string d = normalDomain(domain);
    if (!isCleanName(d) || !isCleanName(h))
        return false;
    if (isAddress(h) || isAddress(d))
        return d == h;
    if (d == h)
        return true;
    // A parent domain needs a dot of its own: "org" or ".org" would reach every site under it.
    if (d.find('.') == std::string::npos || d.back() == '.')
        return false;
    // Nor may it be a public suffix: "com.cn" is shared by unrelated sites.
    return isSubdomainOf(h, d) && !IdIsPublicSuffix(d);
}

bool TIdCookieManager::DomainMatches(std::string_view host, std::string_view domain) {
    std::string h = lowerTrimmed(host);
    std::string d = normalDomain(domain);
    if (!isCleanName(d) || !isCleanName(h))
        return false;
    if (d == h)
        return true;
    if (isAddress(h) || isAddress(d))
        return false;
    return isSubdomainOf(h, d);
}

bool TIdCookieManager::PathMatches(std::string_view requestPath, std::string_view cookiePath) {
    if (requestPath.compare(0, cookiePath.size(), cookiePath) != 0)
        return false;
    // "/a" covers "/a" and "/a/x", never "/ab/x": the prefix must end on a "/" boundary.
    return requestPath.size() == cookiePath.size() || (!cookiePath.empty() && cookiePath.back() == '/') ||
           requestPath[cookiePath.size()] == '/';
}

void TIdCookieManager::AddServerCookie(std::string_view cookie, std::string_view host) {
    addCookie(std::make_unique<TIdCookieRFC2109>(), cookie, host);
}

void TIdCookieManager::AddServerCookie2(std::string_view cookie, std::string_view host) {
    addCookie(std::make_unique<TIdCookieRFC2965>(), cookie, host);
}

void TIdCookieManager::AddServerCookies(const TIdHeaderList& headers, std::string_view host) {
    for (const std::string& v : headers.Extract("Set-Cookie"))
        AddServerCookie(v, host);
    for (const std::string& v : headers.Extract("Set-Cookie2"))
        AddServerCookie2(v, host);
}

void TIdCookieManager::addCookie(std::unique_ptr<TIdNetscapeCookie> cookie, std::string_view cookieText,
                                 std::string_view host) {
    const int64_t now = Now();
    cookie->SetCookieText(cookieText, now);
    if (!cookie->Acceptable())
        return;
    std::string h = lowerTrimmed(host);
    std::string domain = cookie->Domain().empty() ? h : cookie->Domain();
    if (!IsValidCookieDomain(domain, h))
        return;
    cookie->SetDomain(normalDomain(domain));
    // A cookie without a Domain attribute, or with the host itself as one, stays with the host.
    cookie->SetHostOnly(cookie->Domain() == h);

    bool accept = true;
    if (OnNewCookie)
        OnNewCookie(this, cookie.get(), accept);
    if (!accept)
        return;

    std::unique_lock write(cookies_.Lock());
    TIdCookieList& list = cookies_.CookieListByDomain(cookie->Domain());
    int same = list.IndexOfName(cookie->CookieName());
    if (same >= 0) {
        // The newer cookie takes the older one's place (and age); the path is no part of the
        // match. An already expired one deletes it: that is how servers remove a cookie.
        if (cookie->IsExpired(now)) {
            list.Delete(same);
        } else {
            cookie->SetCreationIndex(list.Cookies(same)->CreationIndex());
            list.Replace(same, std::move(cookie));
        }
        return;
    }
    if (cookie->IsExpired(now))
        return;
    if (list.Count() >= kMaxCookiesPerDomain)
        list.Delete(0);
    if (cookies_.Count() >= kMaxCookies)
        evictOldestLocked();
    cookie->SetCreationIndex(nextCreationIndex_++);
    list.Add(std::move(cookie));
}

void TIdCookieManager::evictOldestLocked() {
    int bestDomain = -1, bestIndex = -1;
    uint64_t oldest = UINT64_MAX;
    for (int d = 0; d < cookies_.DomainCount(); ++d) {
        const TIdCookieList& list = cookies_.CookieList(d);
        for (int i = 0; i < list.Count(); ++i) {
            if (list.Cookies(i)->CreationIndex() < oldest) {
                oldest = list.Cookies(i)->CreationIndex();
                bestDomain = d;
                bestIndex = i;
            }
        }
    }
    if (bestDomain >= 0)
        cookies_.CookieList(bestDomain).Delete(bestIndex);
}

void TIdCookieManager::removeExpiredLocked(int64_t now) {
    for (int d = 0; d < cookies_.DomainCount(); ++d) {
        TIdCookieList& list = cookies_.CookieList(d);
        for (int i = list.Count() - 1; i >= 0; --i)
            if (list.Cookies(i)->IsExpired(now))
                list.Delete(i);
    }
}

void TIdCookieManager::RemoveExpiredCookies() {
    const int64_t now = Now();
    std::unique_lock write(cookies_.Lock());
    removeExpiredLocked(now);
}

std::string TIdCookieManager::GenerateCookieList(std::string_view host, std::string_view path, bool secure) {
    RemoveExpiredCookies();
    std::size_t slash = path.rfind('/');
    std::string dir =
        slash == std::string_view::npos ? std::string("/") : std::string(path.substr(0, slash + 1));

    const std::string h = lowerTrimmed(host);
    std::vector<const TIdNetscapeCookie*> kept;
    std::shared_lock read(cookies_.Lock());
    for (int d = 0; d < cookies_.DomainCount(); ++d) {
        if (!DomainMatches(host, cookies_.DomainName(d)))
            continue;
        const bool sameHost = cookies_.DomainName(d) == h;
        const TIdCookieList& list = cookies_.CookieList(d);
        for (int i = list.Count() - 1; i >= 0; --i) {
            const TIdNetscapeCookie* c = list.Cookies(i);
            if ((sameHost || !c->HostOnly()) && PathMatches(dir, c->Path()) && !c->Value().empty() &&
                (!c->Secure() || secure))
                kept.push_back(c);
        }
    }
    std::string out;
    for (auto it = kept.rbegin(); it != kept.rend(); ++it) {
        if (!out.empty())
            out += "; ";
        out += (*it)->ClientCookie();
    }
    return out;
}
