#pragma once
// The fields of a response head, parsed from its raw header lines.
#include "http/TIdEntityHeaderInfo.h"

#include <string>
#include <vector>

class TIdResponseHeaderInfo : public TIdEntityHeaderInfo {
public:
    TIdResponseHeaderInfo();
    void Clear() override;
    void ProcessHeaders() override;

    const std::string& Location() const { return location_; }
    void SetLocation(const std::string& v) { location_ = v; }
    const std::string& Server() const { return server_; }
    const std::string& ProxyConnection() const { return proxyConnection_; }
    const std::string& TransferEncoding() const { return transferEncoding_; }
    // Every value of every WWW-Authenticate / Proxy-Authenticate line, in order.
    const std::vector<std::string>& WWWAuthenticate() const { return wwwAuthenticate_; }
    const std::vector<std::string>& ProxyAuthenticate() const { return proxyAuthenticate_; }

private:
    std::string location_;
    std::string server_;
    std::string proxyConnection_;
    std::string transferEncoding_;
    std::vector<std::string> wwwAuthenticate_;
    std::vector<std::string> proxyAuthenticate_;
};
