#pragma once
// Public suffixes ("com", "com.cn", "github.io"): names under which unrelated sites register, so a
// cookie may never be set for one of them. The list is libpsl's: the newest of its built-in copy
// and the system's public_suffix_list file.
#include <string_view>

// Whether the lower-case domain is a public suffix, private ones (such as hosting domains)
// included.
bool IdIsPublicSuffix(std::string_view domain);
