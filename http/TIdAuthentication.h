#pragma once
// Credential objects for the Authorization and Proxy-Authorization headers.
//
// A kind of authentication (Basic is the one registered, see TIdAuthenticationRegistry.h) walks
// through numbered steps: Next() says what the client does after a 401 or 407, Authentication()
// gives the header value for the next request. The client keeps one object per target (the
// request's, and the proxy's in TIdProxyConnectionInfo).
//
// The 401 decision the GET loop asks for is IdAuthorizeServer below; the 407 decision lives with
// the proxy parameters (TIdProxyConnectionInfo::AuthorizeProxy).
#include "http/TIdHeaderList.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TIdCustomHTTP;
class TIdAuthentication;

// What the client does next with a challenge.
enum class TIdAuthWhatsNext {
    wnAskTheProgram, // the credentials are missing: ask the program (OnAuthorization)
    wnDoRequest,     // send the request again with the credentials
    wnFail,          // give up: the response is raised
};

// A kind of authentication, as the registry knows it: its class name and how to make one.
struct TIdAuthenticationKind {
    const char* ClassName;
    std::unique_ptr<TIdAuthentication> (*Create)();
};
// A class reference; nullptr means none.
using TIdAuthenticationClass = const TIdAuthenticationKind*;

// OnSelectAuthorization / OnSelectProxyAuthorization: may change the kind picked from the
// challenge values (AuthInfo); leaving nullptr declines.
using TIdOnSelectAuthorization =
    std::function<void(TIdCustomHTTP* Sender, TIdAuthenticationClass& AuthenticationClass,
                       const std::vector<std::string>& AuthInfo)>;
// OnAuthorization / OnProxyAuthorization: fills in Authentication's user name and password and
// sets Handled to accept; leaving Handled false declines.
using TIdOnAuthorization =
    std::function<void(TIdCustomHTTP* Sender, TIdAuthentication* Authentication, bool& Handled)>;

class TIdAuthentication {
public:
    TIdAuthentication();
    virtual ~TIdAuthentication();
    TIdAuthentication(const TIdAuthentication&) = delete;
    TIdAuthentication& operator=(const TIdAuthentication&) = delete;

    virtual const char* ClassName() const { return "TIdAuthentication"; }

    // What to do after the server's challenge (AuthParams()).
    TIdAuthWhatsNext Next() { return DoNext(); }
    // The header value for the next request; empty when there is nothing to send.
    virtual std::string Authentication() { return {}; }
    virtual int Steps() const { return 0; }
    int CurrentStep() const { return currentStep_; }
    // Whether the connection must stay open between the steps.
    virtual bool KeepAlive() const { return false; }
    virtual void Reset() { currentStep_ = 0; }

    // Credentials, kept exactly as given (a password may begin or end with blanks).
    const std::string& Username() const { return username_; }
    virtual void SetUsername(const std::string& v) { username_ = v; }
    const std::string& Password() const { return password_; }
    virtual void SetPassword(const std::string& v) { password_ = v; }

    // Parameters the challenge carried ("realm: ..."), one header line each.
    TIdHeaderList& Params() { return params_; }
    const TIdHeaderList& Params() const { return params_; }

    // The server's challenge values (every WWW-Authenticate or Proxy-Authenticate value).
    bool HasAuthParams() const { return hasAuthParams_; }
    const std::vector<std::string>& AuthParams() const { return authParams_; }
    void SetAuthParams(const std::vector<std::string>& v) {
        authParams_ = v;
        hasAuthParams_ = true;
    }

protected:
    virtual TIdAuthWhatsNext DoNext() { return TIdAuthWhatsNext::wnFail; }
    void SetCurrentStep(int v) { currentStep_ = v; }

private:
    TIdHeaderList params_;
    std::vector<std::string> authParams_;
    bool hasAuthParams_ = false;
    std::string username_;
    std::string password_;
    int currentStep_ = 0;
};

// Adds a credential header to a request head: the value of an existing object when it gives
// one; otherwise, when basic is set, a new Basic object made from the user name and password
// (kept in authentication for the following requests); otherwise nothing.
void IdAddAuthorizationHeader(TIdHeaderList& headers, const char* headerName,
                              std::unique_ptr<TIdAuthentication>& authentication, bool basic,
                              const std::string& username, const std::string& password);

// The decision after a 401. authentication, username and password are the request's; challenges
// are the response's WWW-Authenticate values. Picks a registered kind from the challenges when
// none is in use, then walks its steps: true means send the request again. The caller counts the
// retry and bounds it.
bool IdAuthorizeServer(TIdCustomHTTP* sender, std::unique_ptr<TIdAuthentication>& authentication,
                       std::string& username, std::string& password,
                       const std::vector<std::string>& challenges,
                       const TIdOnSelectAuthorization& onSelectAuthorization,
                       const TIdOnAuthorization& onAuthorization);

// Walks an object's steps after its credentials and challenge are set: wnDoRequest answers true,
// wnFail false, wnAskTheProgram asks through onAuthorization (without a handler, or when it
// declines, the answer is false). An accepting handler's credentials are copied back to
// username and password. A handler that keeps accepting without giving what the kind needs is
// asked a few times only.
bool IdRunAuthenticationSteps(TIdCustomHTTP* sender, TIdAuthentication& authentication, std::string& username,
                              std::string& password, const TIdOnAuthorization& onAuthorization);
