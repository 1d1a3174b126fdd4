// zelmora-cli theme pack and theme list: the shipped theme file is exactly what its sources pack
// into, the listing shows each entry's kind, size and value, and broken input is refused.
#include "skin/TsuiThemeFileReader.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int status = -1;
    std::string out, err;
};

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The build gives the tool's path and builds the tool before this test.
fs::path cliPath() {
    return ZEL_CLI_PATH;
}

fs::path sourceRoot() {
    return fs::path(ZEL_SOURCE_DIR);
}

class CliTheme : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(cliPath())) << cliPath() << " is missing";
        dir = fs::temp_directory_path() / ("clitheme-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    CliRun run(const std::string& args) {
        const std::string cmd = "'" + cliPath().string() + "' " + args + " >'" + (dir / "out").string() +
                                "' 2>'" + (dir / "err").string() + "' </dev/null";
        CliRun r;
        const int raw = std::system(cmd.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = readAll(dir / "out");
        r.err = readAll(dir / "err");
        return r;
    }
    fs::path dir;
};

} // namespace

TEST_F(CliTheme, TheShippedGreenThemeIsWhatItsSourcesPackInto) {
    const fs::path packed = dir / "green.sui";
    const CliRun r =
        run("theme pack '" + (sourceRoot() / "themes" / "green").string() + "' '" + packed.string() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readAll(packed), readAll(sourceRoot() / "themes" / "green.sui"));
}

TEST_F(CliTheme, ListShowsNameKindSizeAndValue) {
    const CliRun r = run("theme list '" + (sourceRoot() / "themes" / "green.sui").string() + "'");
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
    CliRun r = run("theme pack '" + (dir / "src").string() + "' '" + (dir / "x.sui").string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("300 is no byte"), std::string::npos) << r.err;

    std::ofstream(dir / "src" / "values.ini", std::ios::trunc) << "[integer]\nFormBorderColor=0x10\n";
    std::ofstream(dir / "src" / "TitleBarLeftImage.bmp") << "BM but no picture";
    r = run("theme pack '" + (dir / "src").string() + "' '" + (dir / "x.sui").string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("TitleBarLeftImage.bmp is no readable BMP"), std::string::npos) << r.err;

    std::string ring(24, '\0');
    ring.replace(0, 10, "Quorvex_TB");
    ring[12] = 24;
    ring[20] = 24;
    ring.resize(24 + 77, '\0');
    ring[24 + 73] = 24; // the first record's next is itself
    std::ofstream(dir / "ring.sui", std::ios::binary) << ring;
    r = run("theme list '" + (dir / "ring.sui").string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("returns to an earlier record"), std::string::npos) << r.err;

    std::ofstream(dir / "plain.txt") << "not a theme at all";
    r = run("theme list '" + (dir / "plain.txt").string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Invalid skin file for Quorvex!"), std::string::npos) << r.err;
}
