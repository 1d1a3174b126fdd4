#pragma once
// The entity fields shared by a request and a response, and their raw header lines. Dates are
// whole seconds since 1970 UTC; 0 means unset.
#include "http/TIdHeaderList.h"

#include <cstdint>
#include <string>

class TIdEntityHeaderInfo {
public:
    TIdEntityHeaderInfo();
    virtual ~TIdEntityHeaderInfo() = default;

    // Back to the defaults, the header lists emptied.
    virtual void Clear();
    // Fills the fields from RawHeaders.
    virtual void ProcessHeaders();

    const std::string& CacheControl() const { return cacheControl_; }
    void SetCacheControl(const std::string& v) { cacheControl_ = v; }
    const std::string& Connection() const { return connection_; }
    void SetConnection(const std::string& v) { connection_ = v; }
    const std::string& ContentVersion() const { return contentVersion_; }
    void SetContentVersion(const std::string& v) { contentVersion_ = v; }
    const std::string& ContentEncoding() const { return contentEncoding_; }
    void SetContentEncoding(const std::string& v) { contentEncoding_ = v; }
    const std::string& ContentLanguage() const { return contentLanguage_; }
    void SetContentLanguage(const std::string& v) { contentLanguage_ = v; }
    const std::string& ContentType() const { return contentType_; }
    void SetContentType(const std::string& v) { contentType_ = v; }
    // -1 when there is none.
    std::int64_t ContentLength() const { return contentLength_; }
    void SetContentLength(std::int64_t v) {
        contentLength_ = v;
        hasContentLength_ = v >= 0;
    }
    bool HasContentLength() const { return hasContentLength_; }
    std::int64_t ContentRangeStart() const { return contentRangeStart_; }
    void SetContentRangeStart(std::int64_t v) { contentRangeStart_ = v; }
    std::int64_t ContentRangeEnd() const { return contentRangeEnd_; }
    void SetContentRangeEnd(std::int64_t v) { contentRangeEnd_ = v; }
    std::int64_t ContentRangeInstanceLength() const { return contentRangeInstanceLength_; }
    void SetContentRangeInstanceLength(std::int64_t v) { contentRangeInstanceLength_ = v; }
    std::int64_t Date() const { return date_; }
    void SetDate(std::int64_t v) { date_ = v; }
    std::int64_t Expires() const { return expires_; }
    void SetExpires(std::int64_t v) { expires_ = v; }
    std::int64_t LastModified() const { return lastModified_; }
    void SetLastModified(std::int64_t v) { lastModified_ = v; }
    const std::string& Pragma() const { return pragma_; }
    void SetPragma(const std::string& v) { pragma_ = v; }

    TIdHeaderList& RawHeaders() { return rawHeaders_; }
    const TIdHeaderList& RawHeaders() const { return rawHeaders_; }
    // Lines the caller adds to a request head as they are.
    TIdHeaderList& CustomHeaders() { return customHeaders_; }

    // A strict decimal number that fits a signed 32-bit integer, else nothing.
    static bool ParseInt32(std::string_view text, std::int64_t& value);

protected:
    std::string cacheControl_;
    std::string connection_;
    std::string contentVersion_;
    std::string contentEncoding_;
    std::string contentLanguage_;
    std::string contentType_;
    std::int64_t contentLength_ = -1;
    bool hasContentLength_ = false;
    std::int64_t contentRangeStart_ = 0;
    std::int64_t contentRangeEnd_ = 0;
    std::int64_t contentRangeInstanceLength_ = 0;
    std::int64_t date_ = 0;
    std::int64_t expires_ = 0;
    std::int64_t lastModified_ = 0;
    std::string pragma_;
    TIdHeaderList rawHeaders_{TIdHeaderList::kMessageFoldLength};
    TIdHeaderList customHeaders_{TIdHeaderList::kMessageFoldLength};
};
