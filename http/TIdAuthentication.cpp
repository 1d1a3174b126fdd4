#include "http/TIdAuthentication.h"

#include "http/TIdAuthenticationRegistry.h"
#include "http/TIdBasicAuthentication.h"

namespace {

// How often one decision asks the program before giving up.
constexpr int kMaxAsks = 3;

std::string trimmed(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

} // namespace

TIdAuthentication::TIdAuthentication() = default;
TIdAuthentication::~TIdAuthentication() = default;

void IdAddAuthorizationHeader(TIdHeaderList& headers, const char* headerName,
                              std::unique_ptr<TIdAuthentication>& authentication, bool basic,
                              const std::string& username, const std::string& password) {
    if (authentication) {
        if (authentication->Username().empty() && authentication->Password().empty())
            return;
        std::string value = authentication->Authentication();
        if (!value.empty())
            headers.SetValues(headerName, value);
        return;
    }
    // Nothing to say: an empty user name and password ("Basic Og==") never go out.
    if (!basic || (username.empty() && password.empty()))
        return;
    authentication = std::make_unique<TIdBasicAuthentication>();
    authentication->SetUsername(username);
    authentication->SetPassword(password);
    headers.SetValues(headerName, authentication->Authentication());
}

bool IdRunAuthenticationSteps(TIdCustomHTTP* sender, TIdAuthentication& authentication, std::string& username,
                              std::string& password, const TIdOnAuthorization& onAuthorization) {
    for (int asks = 0;;) {
        switch (authentication.Next()) {
        case TIdAuthWhatsNext::wnDoRequest:
            return true;
        case TIdAuthWhatsNext::wnFail:
            return false;
        case TIdAuthWhatsNext::wnAskTheProgram: {
            if (!onAuthorization || asks++ >= kMaxAsks)
                return false;
            authentication.SetUsername(username);
            authentication.SetPassword(password);
            bool handled = false;
            onAuthorization(sender, &authentication, handled);
            if (!handled)
                return false;
            username = authentication.Username();
            password = authentication.Password();
            break;
        }
        }
    }
}

bool IdAuthorizeServer(TIdCustomHTTP* sender, std::unique_ptr<TIdAuthentication>& authentication,
                       std::string& username, std::string& password,
                       const std::vector<std::string>& challenges,
                       const TIdOnSelectAuthorization& onSelectAuthorization,
                       const TIdOnAuthorization& onAuthorization) {
    if (!authentication) {
        TIdAuthenticationClass kind = IdFindAuthClassForChallenges(challenges);
        if (!kind)
            return false;
        if (onSelectAuthorization)
            onSelectAuthorization(sender, kind, challenges);
        if (!kind)
            return false;
        authentication = kind->Create();
    }
    if (!onAuthorization && trimmed(password).empty())
        return false;
    authentication->SetUsername(username);
    authentication->SetPassword(password);
    authentication->SetAuthParams(challenges);
    return IdRunAuthenticationSteps(sender, *authentication, username, password, onAuthorization);
}
