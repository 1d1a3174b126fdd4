#pragma once
// HTML's named character references ("nbsp" for "&nbsp;"), the whole table HTML 5 defines.
#include <string_view>

struct THtmlEntity {
    const char* name; // without "&" and ";"
    const char* utf8; // one or two characters
    bool html4;       // already in HTML 4's smaller table
};

// nullptr for a name HTML does not define. Names are case-sensitive ("AMP" and "amp" both exist,
// "Amp" does not).
const THtmlEntity* FindHtmlEntity(std::string_view name);

// The longest name in the table, so a scanner knows when to give up.
inline constexpr std::size_t kLongestHtmlEntityName = 32;
