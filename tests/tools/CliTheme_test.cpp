// zelmora-cli theme pack and theme list: the shipped theme file is exactly what its sources pack
// into, the listing shows each entry's kind, size and value, and broken input is refused.
#include "tests/support/CliRunner.h"
#include "tests/support/UnansweredFifo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace zeltest;
namespace fs = std::filesystem;

namespace {

fs::path sourceRoot() {
    return fs::path(ZEL_SOURCE_DIR);
}

class CliTheme : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fs::exists(CliPath())) << CliPath() << " is missing"; }

    TempDir temp;
    fs::path dir = temp.Path();
};

} // namespace

TEST_F(CliTheme, TheShippedGreenThemeIsWhatItsSourcesPackInto) {
    const fs::path packed = dir / "green.sui";
    const CliRun r = RunCli({"theme", "pack", (sourceRoot() / "themes" / "green").string(), packed.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(packed), ReadFile(sourceRoot() / "themes" / "green.sui"));
}

TEST_F(CliTheme, ListShowsNameKindSizeAndValue) {
    const CliRun r = RunCli({"theme", "list", (sourceRoot() / "themes" / "green.sui").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("31 entries"), std::string::npos) << r.out;
    for (const char* line : {"FormBorderColor                    integer        4  1985044 (0x1E4A14)",
                             "TitleBarButtonTransparentBool      byte           1  0",
                             "Name                               text          13  \"Zelmora Green\"",
                             "TitleBarLeftImage                  image       9398  97x32"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
}

TEST_F(CliTheme, BrokenInputIsRefusedWithAClearMessage) {
    fs::create_directories(dir / "src");
    std::ofstream(dir / "src" / "values.ini") << "[byte]\nTitleBarButtonTransparentBool=300\n";
    const std::vector<std::string> pack = {"theme", "pack", (dir / "src").string(), (dir / "x.sui").string()};
    CliRun r = RunCli(pack);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("300 is no byte"), std::string::npos) << r.err;

    std::ofstream(dir / "src" / "values.ini", std::ios::trunc) << "[integer]\nFormBorderColor=0x10\n";
    std::ofstream(dir / "src" / "TitleBarLeftImage.bmp") << "BM but no picture";
    r = RunCli(pack);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("TitleBarLeftImage.bmp is no readable BMP"), std::string::npos) << r.err;

    std::string ring(24, '\0');
    ring.replace(0, 10, "Quorvex_TB");
    ring[12] = 24;
    ring[20] = 24;
    ring.resize(24 + 77, '\0');
    ring[24 + 73] = 24; // the first record's next is itself
    std::ofstream(dir / "ring.sui", std::ios::binary) << ring;
    r = RunCli({"theme", "list", (dir / "ring.sui").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("returns to an earlier record"), std::string::npos) << r.err;

    std::ofstream(dir / "plain.txt") << "not a theme at all";
    r = RunCli({"theme", "list", (dir / "plain.txt").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Invalid skin file for Quorvex!"), std::string::npos) << r.err;
}

TEST_F(CliTheme, ListRefusesAFifoAndADeviceAtOnce) {
    UnansweredFifo fifo((dir / "fifo.sui").string());
    CliRun r = RunCli({"theme", "list", fifo.Path()});
    EXPECT_FALSE(fifo.HadToRelease()) << "theme list waited for a writer";
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Not a regular file"), std::string::npos) << r.err;
    r = RunCli({"theme", "list", "/dev/zero"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Not a regular file"), std::string::npos) << r.err;
}
