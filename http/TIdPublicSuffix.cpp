#include "http/TIdPublicSuffix.h"

#include <libpsl.h>

#include <string>

namespace {

// Loaded once and kept for the process; lookups on a loaded context are safe from any thread.
const psl_ctx_t* context() {
    static const psl_ctx_t* ctx = [] {
        const psl_ctx_t* latest = psl_latest(nullptr);
        return latest ? latest : psl_builtin();
    }();
    return ctx;
}

} // namespace

bool IdIsPublicSuffix(std::string_view domain) {
    const psl_ctx_t* ctx = context();
    // Without any list every name counts as public: no cookie for a parent domain then, which
    // only costs a cookie, never leaks one.
    if (!ctx)
        return true;
    std::string d(domain);
    return psl_is_public_suffix2(ctx, d.c_str(), PSL_TYPE_ANY) != 0;
}
