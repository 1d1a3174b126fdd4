// Saving a file that is a symbolic link, or that belongs to someone else: the link stays a link
// and its target gets the new bytes; the target keeps its mode and, when root saves it, its
// owner.
#include "framework/core/EInOutError.h"
#include "framework/core/TIniFile.h"
#include "framework/core/TextFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct stat statOf(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st;
}

std::size_t entries(const fs::path& dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir))
        ++n;
    return n;
}

} // namespace

TEST(SaveThroughLinks, ConfigIniBehindARelativeLinkIsUpdatedInPlaceWithItsMode) {
    TempDir dir;
    fs::create_directories(dir.Path() / "real");
    fs::create_directories(dir.Path() / "app");
    const fs::path real = dir.Path() / "real" / "config.ini";
    const fs::path link = dir.Path() / "app" / "config.ini";
    TempDir::Put(real.string(), "[proxy]\r\nip=proxy.test\r\n");
    ::chmod(real.c_str(), 0640);
    fs::create_symlink("../real/config.ini", link);

    TIniFile ini(link.string());
    ini.WriteInteger("form", "width", 800);
    ini.UpdateFile();

    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(fs::read_symlink(link), "../real/config.ini");
    EXPECT_EQ(TempDir::Get(real.string()), "[proxy]\r\nip=proxy.test\r\n[form]\r\nwidth=800\r\n");
    EXPECT_EQ(statOf(real).st_mode & 07777, 0640u);
    EXPECT_EQ(entries(dir.Path() / "real"), 1u); // no temporary file left
    EXPECT_EQ(entries(dir.Path() / "app"), 1u);
}

TEST(SaveThroughLinks, AChainOfLinksAndADanglingLinkReachTheirTarget) {
    TempDir dir;
    const fs::path target = dir.Path() / "lists" / "news.txt";
    fs::create_directories(target.parent_path());
    fs::create_symlink(target, dir.Path() / "second");
    fs::create_symlink("second", dir.Path() / "first");

    WriteTextLines((dir.Path() / "first").string(), {"title", "link"}); // target does not exist yet
    EXPECT_EQ(TempDir::Get(target.string()), "title\r\nlink\r\n");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.Path() / "first")));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.Path() / "second")));

    fs::create_symlink("loop-b", dir.Path() / "loop-a");
    fs::create_symlink("loop-a", dir.Path() / "loop-b");
    EXPECT_THROW(WriteTextLines((dir.Path() / "loop-a").string(), {"x"}), EInOutError);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.Path() / "loop-a")));
}

TEST(SaveThroughLinks, AnotherUsersFileKeepsItsOwnerGroupAndMode) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may keep another user as the owner";
    TempDir dir;
    const std::string f = dir.File("list.txt");
    TempDir::Put(f, "old\r\n");
    ASSERT_EQ(::chown(f.c_str(), 12345, 23456), 0);
    ::chmod(f.c_str(), 0604);

    WriteTextLines(f, {"new"});

    const struct stat st = statOf(f);
    EXPECT_EQ(TempDir::Get(f), "new\r\n");
    EXPECT_EQ(st.st_uid, 12345u);
    EXPECT_EQ(st.st_gid, 23456u);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
}
