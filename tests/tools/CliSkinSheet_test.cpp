// zelmora-cli skin-sheet draws the reader's own components off-screen into a PNG: the built-in
// styles, a theme file, the menus; a theme file that is not there is refused.
#include "tests/support/CliRunner.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zeltest;

namespace {

// Width and height from a PNG's header, or 0 x 0 when the bytes are no PNG.
std::pair<unsigned, unsigned> pngSize(const std::string& bytes) {
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
        bytes.compare(12, 4, "IHDR") != 0)
        return {0, 0};
    const auto be32 = [&](std::size_t at) {
        unsigned v = 0;
        for (std::size_t i = 0; i < 4; ++i)
            v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    return {be32(16), be32(20)};
}

} // namespace

TEST(CliSkinSheet, DrawsStylesThemeAndMenusAndRefusesAMissingTheme) {
    ASSERT_TRUE(std::filesystem::exists(CliPath())) << CliPath() << " is missing";
    TempDir dir;
    CliRun r = RunCli({"skin-sheet", dir.File("styles.png")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(pngSize(ReadFile(dir.File("styles.png"))).first, 1180u);

    const std::string theme = (std::filesystem::path(ZEL_SOURCE_DIR) / "themes" / "green.sui").string();
    r = RunCli({"skin-sheet", "--theme", theme, dir.File("green.png")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(pngSize(ReadFile(dir.File("green.png"))).first, 1180u);

    r = RunCli({"skin-sheet", "--menus", dir.File("menus.png")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_GT(pngSize(ReadFile(dir.File("menus.png"))).second, 0u);

    r = RunCli({"skin-sheet", "--theme", dir.File("none.sui"), dir.File("none.png")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no theme file"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.png")));
}
