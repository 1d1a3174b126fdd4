// The header list: raw lines as a server sends them, then reading, setting and folding.
// Input: the first byte picks a fold width; the rest is header lines separated by LF.
#include "FuzzCheck.h"
#include "http/TIdHeaderList.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

// The text without blanks, control characters and commas: what folding and unfolding must never
// change.
std::string solid(std::string_view s) {
    std::string out;
    for (char c : s)
        if (static_cast<unsigned char>(c) > ' ' && c != ',')
            out += c;
    return out;
}

void checkFold(std::string_view line, int width) {
    auto pieces = TIdHeaderList::FoldLine(line, width);
    FUZZ_CHECK(!pieces.empty());
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            FUZZ_CHECK(pieces[i].size() >= 2 && pieces[i][0] == ' ' && pieces[i][1] != ' ');
        joined += pieces[i];
    }
    FUZZ_CHECK(solid(joined) == solid(line));
    if (pieces.size() == 1 && line.size() <= static_cast<std::size_t>(width))
        FUZZ_CHECK(pieces[0] == line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const int width = 8 + data[0] % 120;
    std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    TIdHeaderList h(width);
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::string_view line =
            text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        h.Add(std::string(line));
        checkFold(line, width);
        if (nl == std::string_view::npos)
            break;
        pos = nl + 1;
    }

    // Read every name the list holds, then set each again from what was read.
    for (int i = 0; i < h.Count(); ++i) {
        std::string name = h.Names(i);
        if (name.empty())
            continue;
        std::string value = h.Values(name);
        auto all = h.Extract(name);
        FUZZ_CHECK(!all.empty());
        FUZZ_CHECK(all.front() == value);
        FUZZ_CHECK(h.IndexOfName(name) >= 0 && h.IndexOfName(name) <= i);
    }
    if (h.Count() > 0) {
        std::string name = h.Names(0);
        if (!name.empty() && name.find_first_of(" \t") == std::string::npos) {
            std::string value = h.Values(name);
            if (!value.empty()) {
                h.SetValues(name, value);
                FUZZ_CHECK(solid(h.Values(name)) == solid(value));
                int before = h.Count();
                h.SetValues(name, "");
                FUZZ_CHECK(h.Count() < before);
            }
        }
    }
    h.SetValues("X-Fuzz", std::string(text.substr(0, 4096)));
    (void)h.Text();
    return 0;
}
