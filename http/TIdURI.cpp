#include "http/TIdURI.h"

#include "http/EIdException.h"

namespace {

// A GBK lead byte: the byte after it belongs to the same character and is never a separator,
// even when it has the value of a backslash.
bool isLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

std::string slashesForward(const std::string& text) {
    std::string out = text;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(out[i])) && i + 1 < out.size())
            ++i;
        else if (out[i] == '\\')
            out[i] = '/';
    }
    return out;
}

} // namespace

TIdURI::TIdURI(const std::string& uri) {
    if (!uri.empty())
        SetURI(uri);
}

void TIdURI::clear() {
    protocol_.clear();
    username_.clear();
    password_.clear();
    host_.clear();
    port_.clear();
    path_.clear();
    document_.clear();
    params_.clear();
    bookmark_.clear();
    ipVersion_ = Id_IPv4;
}

// Path, document and params (and, for an absolute URL, the bookmark) out of the text after the
// authority.
void TIdURI::splitRest(const std::string& rest, bool absolute) {
    std::size_t q = rest.find('?');
    if (q == std::string::npos)
        q = rest.find('=');
    std::size_t cut =
        q == std::string::npos ? rest.rfind('/') : (q == 0 ? std::string::npos : rest.rfind('/', q));
    std::string head = cut == std::string::npos ? std::string() : rest.substr(0, cut + 1);
    path_ = absolute ? "/" + head : head;
    if (q == std::string::npos) {
        document_ = rest;
    } else {
        document_ = rest.substr(0, q);
        params_ = rest.substr(q);
    }
    if (cut != std::string::npos)
        document_.erase(0, std::min(document_.size(), cut + 1));
    if (absolute) {
        std::size_t hash = document_.find('#');
        if (hash != std::string::npos) {
            bookmark_ = document_.substr(hash + 1);
            document_.erase(hash);
        }
    }
}

void TIdURI::SetURI(const std::string& uri) {
    uri_ = uri;
    std::string u = slashesForward(uri);
    clear();
    std::size_t scheme = u.find("://");
    if (scheme != std::string::npos) {
        protocol_ = u.substr(0, scheme);
        u.erase(0, scheme + 3);
        // The authority ends at the first "/", "?" or "#": "http://h:81?q=1" is host h, port 81
        // and the query, never a port "81?q=1". What follows a "?" or "#" there splits as it does
        // after "h:81/", so both forms name the same thing.
        std::size_t end = u.find_first_of("/?#");
        std::string authority = u.substr(0, end);
        std::string rest;
        if (end != std::string::npos)
            rest = u.substr(u[end] == '/' ? end + 1 : end);
        std::size_t at = authority.find('@');
        if (at != std::string::npos) {
            std::string user = authority.substr(0, at);
            authority.erase(0, at + 1);
            std::size_t colon = user.find(':');
            username_ = user.substr(0, colon);
            if (colon != std::string::npos)
                password_ = user.substr(colon + 1);
            if (username_.empty())
                password_.clear();
        }
        std::size_t open = authority.find('[');
        std::size_t close = authority.find(']');
        if (open != std::string::npos && close != std::string::npos && open < close) {
            host_ = authority.substr(open + 1, close - open - 1);
            std::size_t colon = authority.find(':', close);
            if (colon != std::string::npos)
                port_ = authority.substr(colon + 1);
            ipVersion_ = Id_IPv6;
        } else {
            std::size_t colon = authority.find(':');
            host_ = authority.substr(0, colon);
            if (colon != std::string::npos)
                port_ = authority.substr(colon + 1);
        }
        splitRest(rest, true);
    } else {
        splitRest(u, false);
    }
    if (bookmark_.empty()) {
        std::size_t hash = params_.find('#');
        if (hash != std::string::npos) {
            bookmark_ = params_.substr(hash + 1);
            params_.erase(hash);
        }
    }
}

std::string TIdURI::GetFullURI(unsigned fields) const {
    if (protocol_.empty())
        throw EIdURIException("Protocol field is empty");
    std::string out = protocol_ + "://";
    if ((fields & ofAuthInfo) && !username_.empty()) {
        out += username_;
        if (!password_.empty())
            out += ":" + password_;
        out += "@";
    }
    if (host_.empty())
        throw EIdURIException("Host field is empty");
    // An IPv6 address goes back into its brackets, or its colons would read as a port.
    if (ipVersion_ == Id_IPv6 && host_.find(':') != std::string::npos)
        out += "[" + host_ + "]";
    else
        out += host_;
    if (!port_.empty() && port_ != "80")
        out += ":" + port_;
    out += path_ + document_ + params_;
    if ((fields & ofBookmark) && !bookmark_.empty())
        out += "#" + bookmark_;
    return out;
}

std::string TIdURI::URI() {
    uri_ = GetFullURI(ofAuthInfo | ofBookmark);
    return GetFullURI(0);
}

std::string TIdURI::ResolvePath(const std::string& base, const std::string& path) {
    if (!path.empty() && path[0] == '/')
        return path;
    bool keepTrailingSlash = path.empty() || path.back() == '/';
    std::string work = base;
    if (!work.empty() && work.back() != '/')
        work += '/';
    work += path;
    std::string result;
    for (std::size_t i = 0; i < work.size(); ++i) {
        char c = work[i];
        if (c == '/') {
            if (i == 0 || result.empty() || result.back() != '/')
                result += '/';
        } else if (c == '.' && !result.empty() && result.back() == '/' && i + 1 < work.size() &&
                   work[i + 1] == '.') {
            // ".." climbs one segment: drop the slash and the segment before it.
            result.pop_back();
            std::size_t prev = result.rfind('/');
            result.erase(prev == std::string::npos ? 0 : prev + 1);
            ++i;
        } else {
            result += c;
        }
    }
    if (result == "/")
        return result;
    if (!result.empty() && result.back() == '/' && !keepTrailingSlash)
        result.pop_back();
    return result;
}

bool TIdURI::ParsePort(std::string_view text, int& port) {
    if (text.empty() || text.size() > 5)
        return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535)
        return false;
    port = value;
    return true;
}
