#include "reader/ReaderHttp.h"

#include "http/TIdCustomHTTP.h"

void ConfigureReaderHttp(TIdCustomHTTP& http) {
    http.SetAllowCookies(true);
    // The proxy's user and password from config.ini answer its challenge within the same fetch.
    http.SetHTTPOptions(hoForceEncodeParams | hoInProcessAuth);
    // A silent server must not hold a fetch for good.
    http.SetConnectTimeout(kReaderConnectTimeoutMs);
    http.SetReadTimeout(kReaderReadTimeoutMs);
    http.SetMaxTime(kReaderMaxTimeMs);
    http.SetAuthRetries(0);
    http.SetAuthProxyRetries(0);
    http.ProxyParams().SetBasicAuthentication(false);
    http.Request().SetContentType("text/html");
    http.Request().SetAccept("text/html, */*");
    http.Request().SetUserAgent("Mozilla/3.0 (compatible; Zelmora Library)");
    http.Request().SetContentLength(-1);
    http.Request().SetContentRangeStart(0);
    http.Request().SetContentRangeEnd(0);
    http.Request().SetContentRangeInstanceLength(0);
    http.Request().SetBasicAuthentication(false);
}
