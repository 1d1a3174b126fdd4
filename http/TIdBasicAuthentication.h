#pragma once
// Basic authentication: "Basic " + Base64(user name ":" password), one step.
//
// Step 0 sends the credentials when a user name is known (else asks the program); producing the
// header value moves to step 1, where a second challenge fails.
#include "http/TIdAuthentication.h"

class TIdBasicAuthentication : public TIdAuthentication {
public:
    const char* ClassName() const override { return "TIdBasicAuthentication"; }
    std::string Authentication() override;
    int Steps() const override { return 1; }
    bool KeepAlive() const override { return false; }

    // The realm the last challenge named (its quotes removed).
    const std::string& Realm() const { return realm_; }

    static const TIdAuthenticationKind Kind;

protected:
    TIdAuthWhatsNext DoNext() override;

private:
    void readChallenge();
    std::string realm_;
};
