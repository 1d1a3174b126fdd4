#include "framework/core/TextFile.h"

#include "framework/core/AtomicFileWriter.h"
#include "framework/core/EInOutError.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

using Lines = std::vector<std::string>;

TEST(TextFile, ReadingAcceptsCrLfLfAndCrAndAFinalLineWithoutEnd) {
    EXPECT_EQ(SplitTextLines(""), Lines{});
    EXPECT_EQ(SplitTextLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitTextLines("a\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitTextLines("a\rb\r"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitTextLines("a\r\n\r\n\nb\r\r\nc"), (Lines{"a", "", "", "b", "", "c"}));
    EXPECT_EQ(SplitTextLines("\r\n"), Lines{""});
    EXPECT_EQ(SplitTextLines(" x \t\r\n"), Lines{" x \t"}); // nothing trimmed
}

TEST(TextFile, WritesCrLfAndReadsBack) {
    TempDir dir;
    const std::string f = dir.File("list.txt");
    WriteTextLines(f, {"\xD0\xC2\xCE\xC5", "", "http://x/go/?url=http://y/1"});
    EXPECT_EQ(TempDir::Get(f), "\xD0\xC2\xCE\xC5\r\n\r\nhttp://x/go/?url=http://y/1\r\n");
    EXPECT_EQ(ReadTextLines(f), (Lines{"\xD0\xC2\xCE\xC5", "", "http://x/go/?url=http://y/1"}));
    WriteTextLines(f, {});
    EXPECT_EQ(TempDir::Get(f), "");
    EXPECT_EQ(dir.Count(), 1u);
}

TEST(TextFile, ReplacingKeepsTheFileMode) {
    TempDir dir;
    const std::string f = dir.File("list.txt");
    TempDir::Put(f, "old\r\n");
    ::chmod(f.c_str(), 0640);
    WriteTextLines(f, {"new"});
    struct stat st {};
    ASSERT_EQ(::stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(TextFile, MissingFileOrDirectoryFailsToOpen) {
    TempDir dir;
    EXPECT_THROW(ReadTextLines(dir.File("absent.txt")), EInOutError);
    EXPECT_THROW(ReadTextLines(dir.Path().string()), EInOutError);
    try {
        ReadTextLines(dir.File("absent.txt"));
    } catch (const EInOutError& e) {
        EXPECT_NE(e.Message().find(dir.File("absent.txt")), std::string::npos);
    }
}

TEST(TextFile, ACapOfItsOwnAndTheHeadOfAFileKeepTheRefusals) {
    TempDir dir;
    TempDir::Put(dir.File("ten"), "0123456789");
    EXPECT_EQ(ReadFileBytes(dir.File("ten"), 10), "0123456789");
    EXPECT_THROW(ReadFileBytes(dir.File("ten"), 9), EInOutError);
    EXPECT_EQ(ReadFileHead(dir.File("ten"), 4), "0123");
    EXPECT_EQ(ReadFileHead(dir.File("ten"), 16), "0123456789");
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    for (const std::string& path : {dir.File("fifo"), std::string("/dev/zero"), dir.Path().string()})
        EXPECT_THROW(ReadFileHead(path, 16), EInOutError) << path;
    EXPECT_THROW(ReadFileHead(dir.File("missing"), 16), EInOutError);
}

TEST(AtomicFileWriter, AbandonedWriteLeavesTheOldFileAndNoTemporaryFile) {
    TempDir dir;
    const std::string f = dir.File("list.txt");
    TempDir::Put(f, "old\r\n");
    {
        AtomicFileWriter w(f);
        w.Write(std::string(200000, 'x'));
        EXPECT_EQ(dir.Count(), 2u);
    }
    EXPECT_EQ(TempDir::Get(f), "old\r\n");
    EXPECT_EQ(dir.Count(), 1u);
}

TEST(AtomicFileWriter, DiskFullInTheMiddleOfAWriteKeepsTheOldFile) {
    TempDir dir;
    const std::string f = dir.File("list.txt");
    TempDir::Put(f, "old\r\n");
    // A file-size limit makes write() fail part way, as a full disk does.
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 100000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    Lines many(50000, "a headline line of some length");
    bool threw = false;
    try {
        WriteTextLines(f, many);
    } catch (const EInOutError& e) {
        threw = true;
        EXPECT_EQ(e.Message(), "Unable to write to " + f);
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(threw);
    EXPECT_EQ(TempDir::Get(f), "old\r\n");
    EXPECT_EQ(dir.Count(), 1u);
}

TEST(AtomicFileWriter, ReadOnlyTargetIsNotReplaced) {
    TempDir dir;
    const std::string f = dir.File("list.txt");
    TempDir::Put(f, "old\r\n");
    ::chmod(f.c_str(), 0444);
    EXPECT_THROW(WriteTextLines(f, {"new"}), EInOutError);
    EXPECT_EQ(TempDir::Get(f), "old\r\n");
    EXPECT_EQ(dir.Count(), 1u);
}
