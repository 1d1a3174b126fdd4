#include "http/TIdAuthenticationRegistry.h"

#include "framework/core/AsciiText.h"

#include "http/EIdException.h"
#include "http/TIdBasicAuthentication.h"

#include <mutex>
#include <utility>

namespace {

struct Registry {
    std::mutex mutex;
    std::vector<std::pair<std::string, TIdAuthenticationClass>> kinds{
        {"Basic", &TIdBasicAuthentication::Kind}};

    auto find(const std::string& name) {
        for (auto it = kinds.begin(); it != kinds.end(); ++it)
            if (SameText(it->first, name))
                return it;
        return kinds.end();
    }
};

Registry& registry() {
    static Registry r;
    return r;
}

} // namespace

void RegisterAuthenticationMethod(const std::string& methodName, TIdAuthenticationClass authClass) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.find(methodName);
    if (it != r.kinds.end())
        throw EIdAlreadyRegisteredAuthenticationMethod(
            "This authentication method is already registered with class name " +
            std::string(it->second ? it->second->ClassName : "") + ".");
    r.kinds.emplace_back(methodName, authClass);
}

void UnregisterAuthenticationMethod(const std::string& methodName) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.find(methodName);
    if (it != r.kinds.end())
        r.kinds.erase(it);
}

TIdAuthenticationClass FindAuthClass(const std::string& authName) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.find(authName);
    return it == r.kinds.end() ? nullptr : it->second;
}

TIdAuthenticationClass IdFindAuthClassForChallenges(const std::vector<std::string>& challenges) {
    for (const std::string& challenge : challenges) {
        std::string word = challenge.substr(0, challenge.find(' '));
        if (TIdAuthenticationClass kind = FindAuthClass(word))
            return kind;
    }
    return nullptr;
}
