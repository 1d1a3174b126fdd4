#include "http/TIdAuthenticationRegistry.h"

#include "http/EIdException.h"
#include "http/TIdBasicAuthentication.h"

#include <mutex>
#include <utility>

namespace {

bool sameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

struct Registry {
    std::mutex mutex;
    std::vector<std::pair<std::string, TIdAuthenticationClass>> kinds{
        {"Basic", &TIdBasicAuthentication::Kind}};

    auto find(const std::string& name) {
        for (auto it = kinds.begin(); it != kinds.end(); ++it)
            if (sameText(it->first, name))
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
