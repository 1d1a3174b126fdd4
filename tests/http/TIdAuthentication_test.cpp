#include "http/EIdException.h"
#include "http/TIdAuthentication.h"
#include "http/TIdAuthenticationRegistry.h"
#include "http/TIdBase64.h"
#include "http/TIdBasicAuthentication.h"

#include <gtest/gtest.h>

namespace {

using Next = TIdAuthWhatsNext;

TEST(TIdBase64, EncodesWithPaddingAndDecodesBack) {
    EXPECT_EQ(TIdBase64::Encode(""), "");
    EXPECT_EQ(TIdBase64::Encode("f"), "Zg==");
    EXPECT_EQ(TIdBase64::Encode("fo"), "Zm8=");
    EXPECT_EQ(TIdBase64::Encode("foo"), "Zm9v");
    EXPECT_EQ(TIdBase64::Encode("foob"), "Zm9vYg==");
    EXPECT_EQ(TIdBase64::Encode("Aladdin:open sesame"), "QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(i);
    std::string enc = TIdBase64::Encode(all);
    EXPECT_NE(enc.find('+'), std::string::npos);
    EXPECT_NE(enc.find('/'), std::string::npos);
    EXPECT_EQ(TIdBase64::Decode(enc), all);
}

TEST(TIdBase64, DecodeRefusesWhatNoEncoderWrites) {
    for (const char* bad : {"Zg=", "Zg=a", "Z===", "Zh==", "Zm9v!A==", "Zg==Zg==", "=Zm9"})
        EXPECT_FALSE(TIdBase64::Decode(bad).has_value()) << bad;
}

TEST(TIdBasicAuthentication, ValueIsBasicAndBase64OfUserColonPassword) {
    TIdBasicAuthentication a;
    a.SetUsername("u");
    a.SetPassword("p");
    EXPECT_EQ(a.Authentication(), "Basic " + TIdBase64::Encode("u:p"));
    EXPECT_EQ(a.Authentication(), "Basic dTpw");
    a.SetUsername("Aladdin");
    a.SetPassword("open sesame");
    EXPECT_EQ(a.Authentication(), "Basic QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
    a.SetUsername("u");
    // Credentials are kept exactly: blanks at the ends and long passwords are not folded or trimmed.
    std::string longPassword = " " + std::string(100, 'x') + " y ";
    a.SetPassword(longPassword);
    EXPECT_EQ(a.Password(), longPassword);
    EXPECT_EQ(*TIdBase64::Decode(a.Authentication().substr(6)), "u:" + longPassword);
}

TEST(TIdBasicAuthentication, StepsAskThenRequestThenFail) {
    TIdBasicAuthentication a;
    a.SetAuthParams({"Digest realm=\"d\"", "Basic realm=\"News Site\", charset=\"UTF-8\""});
    EXPECT_EQ(a.Steps(), 1);
    EXPECT_EQ(a.Next(), Next::wnAskTheProgram); // no user name yet
    EXPECT_EQ(a.Realm(), "News Site");
    EXPECT_EQ(a.Params().Values("charset"), "\"UTF-8\"");
    a.SetUsername("u");
    EXPECT_EQ(a.Next(), Next::wnDoRequest);
    a.Authentication(); // sent: the step is done
    EXPECT_EQ(a.CurrentStep(), 1);
    EXPECT_EQ(a.Next(), Next::wnFail);
    a.Reset();
    EXPECT_EQ(a.Next(), Next::wnDoRequest);
    EXPECT_FALSE(a.KeepAlive());
}

TEST(TIdBasicAuthentication, ChallengeMatchIsCaseSensitiveAndRealmNeedsTwoCharacters) {
    TIdBasicAuthentication a;
    a.SetAuthParams({"basic realm=\"lower\"", "Basic realm=x"});
    a.Next();
    EXPECT_EQ(a.Realm(), ""); // "x" minus its first and last character
    a.SetAuthParams({"basic realm=\"lower\""});
    a.Next();
    EXPECT_EQ(a.Params().Values("realm"), "x"); // nothing new was read
}

TEST(TIdAuthenticationRegistry, BasicIsRegisteredAndLookupIgnoresCase) {
    EXPECT_EQ(FindAuthClass("Basic"), &TIdBasicAuthentication::Kind);
    EXPECT_EQ(FindAuthClass("BASIC"), &TIdBasicAuthentication::Kind);
    EXPECT_EQ(FindAuthClass("Digest"), nullptr);
    EXPECT_EQ(FindAuthClass(""), nullptr);
    EXPECT_EQ(IdFindAuthClassForChallenges({"Negotiate", "NTLM abc", "basic realm=\"r\""}),
              &TIdBasicAuthentication::Kind);
    EXPECT_EQ(IdFindAuthClassForChallenges({"Negotiate", "Basicx realm"}), nullptr);
}

TEST(TIdAuthenticationRegistry, RegisteringANameTwiceRaises) {
    static const TIdAuthenticationKind other{
        "TOtherAuthentication",
        []() -> std::unique_ptr<TIdAuthentication> { return std::make_unique<TIdAuthentication>(); }};
    try {
        RegisterAuthenticationMethod("bAsIc", &other);
        FAIL() << "no exception";
    } catch (const EIdAlreadyRegisteredAuthenticationMethod& e) {
        EXPECT_STREQ(e.what(), "This authentication method is already registered with class name "
                               "TIdBasicAuthentication.");
    }
    RegisterAuthenticationMethod("Other", &other);
    EXPECT_EQ(FindAuthClass("OTHER"), &other);
    EXPECT_THROW(RegisterAuthenticationMethod("other", &other), EIdAlreadyRegisteredAuthenticationMethod);
    UnregisterAuthenticationMethod("Other");
    EXPECT_EQ(FindAuthClass("Other"), nullptr);
}

TEST(IdAddAuthorizationHeader, NothingWithoutObjectOrBasicFlag) {
    TIdHeaderList h(TIdHeaderList::kMessageFoldLength);
    std::unique_ptr<TIdAuthentication> auth;
    IdAddAuthorizationHeader(h, "Authorization", auth, false, "u", "p");
    EXPECT_EQ(h.Count(), 0);
    EXPECT_EQ(auth, nullptr);
    IdAddAuthorizationHeader(h, "Authorization", auth, true, "u", "p");
    EXPECT_EQ(h.Values("Authorization"), "Basic dTpw");
    ASSERT_NE(auth, nullptr);
    // The object, once made, answers for the later requests whatever the flag says.
    h.Clear();
    IdAddAuthorizationHeader(h, "Authorization", auth, false, "other", "other");
    EXPECT_EQ(h.Values("Authorization"), "Basic dTpw");
}

struct Decision {
    std::unique_ptr<TIdAuthentication> auth;
    std::string user, password;
    bool run(const std::vector<std::string>& challenges, const TIdOnSelectAuthorization& select = {},
             const TIdOnAuthorization& onAuth = {}) {
        return IdAuthorizeServer(nullptr, auth, user, password, challenges, select, onAuth);
    }
};

TEST(IdAuthorizeServer, NoRegisteredSchemeOrNoPasswordAnswersFalse) {
    Decision d;
    d.user = "u";
    d.password = "p";
    EXPECT_FALSE(d.run({"Digest realm=\"r\""}));
    EXPECT_EQ(d.auth, nullptr);
    EXPECT_FALSE(d.run({}));

    Decision noPassword;
    noPassword.user = "u";
    noPassword.password = "  ";
    EXPECT_FALSE(noPassword.run({"Basic realm=\"r\""}));
    ASSERT_NE(noPassword.auth, nullptr); // the kind was chosen before the password was looked at
}

TEST(IdAuthorizeServer, BasicWithPasswordRetriesOnceThenFails) {
    Decision d;
    d.user = "u";
    d.password = "p";
    EXPECT_TRUE(d.run({"Basic realm=\"r\""}));
    ASSERT_NE(d.auth, nullptr);
    EXPECT_EQ(d.auth->Authentication(), "Basic dTpw");
    // The server refused those credentials: the second challenge fails.
    EXPECT_FALSE(d.run({"Basic realm=\"r\""}));
}

TEST(IdAuthorizeServer, HandlerCanChooseDeclineOrSupplyCredentials) {
    Decision declined;
    declined.password = "p";
    EXPECT_FALSE(declined.run({"Basic realm=\"r\""}, [](TIdCustomHTTP*, TIdAuthenticationClass& k,
                                                        const std::vector<std::string>&) { k = nullptr; }));
    EXPECT_EQ(declined.auth, nullptr);

    Decision asked;
    int calls = 0;
    auto supply = [&](TIdCustomHTTP*, TIdAuthentication* a, bool& handled) {
        ++calls;
        a->SetUsername("alice");
        a->SetPassword("secret");
        handled = true;
    };
    EXPECT_TRUE(asked.run({"Basic realm=\"r\""}, {}, supply));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(asked.user, "alice");
    EXPECT_EQ(asked.password, "secret");

    Decision refused;
    EXPECT_FALSE(refused.run({"Basic"}, {},
                             [](TIdCustomHTTP*, TIdAuthentication*, bool& handled) { handled = false; }));
}

TEST(IdAuthorizeServer, AHandlerThatNeverGivesAUserNameIsNotAskedForever) {
    Decision d;
    int calls = 0;
    EXPECT_FALSE(d.run({"Basic"}, {}, [&](TIdCustomHTTP*, TIdAuthentication*, bool& handled) {
        ++calls;
        handled = true;
    }));
    EXPECT_GE(calls, 1);
    EXPECT_LE(calls, 5);
}

} // namespace
