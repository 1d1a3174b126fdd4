#include "http/TIdBasicAuthentication.h"

#include "http/TIdBase64.h"

const TIdAuthenticationKind TIdBasicAuthentication::Kind{
    "TIdBasicAuthentication",
    []() -> std::unique_ptr<TIdAuthentication> { return std::make_unique<TIdBasicAuthentication>(); }};

std::string TIdBasicAuthentication::Authentication() {
    SetCurrentStep(1);
    return "Basic " + TIdBase64::Encode(Username() + ":" + Password());
}

// The challenge: "Basic" SP param *(", " param), param = name "=" value.
void TIdBasicAuthentication::readChallenge() {
    for (const std::string& challenge : AuthParams()) {
        if (challenge.rfind("Basic", 0) != 0)
            continue;
        std::size_t space = challenge.find(' ');
        std::string rest = space == std::string::npos ? std::string() : challenge.substr(space + 1);
        Params().Clear();
        std::size_t pos = 0;
        while (pos <= rest.size()) {
            std::size_t comma = rest.find(", ", pos);
            std::string piece =
                rest.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
            if (!piece.empty()) {
                std::size_t eq = piece.find('=');
                if (eq != std::string::npos)
                    piece.replace(eq, 1, TIdHeaderList::NameValueSeparator());
                Params().Add(piece);
            }
            if (comma == std::string::npos)
                break;
            pos = comma + 2;
        }
        std::string realm = Params().Values("realm");
        realm_ = realm.size() >= 2 ? realm.substr(1, realm.size() - 2) : std::string();
        return;
    }
}

TIdAuthWhatsNext TIdBasicAuthentication::DoNext() {
    readChallenge();
    switch (CurrentStep()) {
    case 0:
        return Username().empty() ? TIdAuthWhatsNext::wnAskTheProgram : TIdAuthWhatsNext::wnDoRequest;
    default:
        return TIdAuthWhatsNext::wnFail;
    }
}
