#include "reader/HtmlEntities.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr THtmlEntity kEntities[] = {
#include "reader/HtmlEntityTable.inc"
};

} // namespace

const THtmlEntity* FindHtmlEntity(std::string_view name) {
    auto it = std::lower_bound(
        std::begin(kEntities), std::end(kEntities), name,
        [](const THtmlEntity& e, std::string_view n) { return std::string_view(e.name) < n; });
    if (it == std::end(kEntities) || std::string_view(it->name) != name)
        return nullptr;
    return &*it;
}
