#include "reader/HeadlineListFile.h"

#include "framework/core/CodePage.h"
#include "framework/core/EInOutError.h"
#include "framework/core/TextFile.h"
#include "reader/FeedCutter.h"
#include "reader/HeadlineLines.h"
#include "reader/THeadlineStore.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(HeadlineListFile, FiveLinesLoadAsThreeItemsTheLastWithoutLink) {
    TempDir dir;
    TempDir::Put(dir.File("l.txt"), "t1\r\nl1\r\nt2\r\nl2\r\nt3\r\n");
    THeadlineStore store;
    EXPECT_EQ(ImportHeadlineList(dir.File("l.txt"), store), 3);
    EXPECT_EQ(store.Item(0), (THeadlineItem{"t1", "l1"}));
    EXPECT_EQ(store.Item(2), (THeadlineItem{"t3", ""}));
    EXPECT_EQ(HeadlineListLines(store), (std::vector<std::string>{"t1", " ", "t2", " ", "t3", " "}));
}

TEST(HeadlineListFile, LinesAreTakenAsTheyStandWhateverTheLineEnds) {
    TempDir dir;
    TempDir::Put(dir.File("l.txt"), "  spaced title \nhttp://raw.test/a\r  \r\n\r\nlast\rlink");
    THeadlineStore store;
    ASSERT_EQ(ImportHeadlineList(dir.File("l.txt"), store), 3);
    EXPECT_EQ(store.Item(0), (THeadlineItem{"  spaced title ", "http://raw.test/a"}));
    EXPECT_EQ(store.Item(1), (THeadlineItem{"  ", ""}));
    EXPECT_EQ(store.Item(2), (THeadlineItem{"last", "link"}));
}

TEST(HeadlineListFile, EmptyFileLoadsAnEmptyListAndASaveThenDoesNothing) {
    TempDir dir;
    TempDir::Put(dir.File("empty.txt"), "");
    THeadlineStore store;
    store.Append({"old", "old"});
    EXPECT_EQ(ImportHeadlineList(dir.File("empty.txt"), store), 0);
    EXPECT_TRUE(HeadlineListLines(store).empty());
    EXPECT_FALSE(SaveHeadlineList(dir.File("out.txt"), store));
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.txt")));
}

TEST(HeadlineListFile, UnreadableFileKeepsTheCurrentList) {
    TempDir dir;
    THeadlineStore store;
    store.Append({"kept", "link"});
    EXPECT_THROW(ImportHeadlineList(dir.File("absent.txt"), store), EInOutError);
    EXPECT_EQ(store.Count(), 1);
    EXPECT_EQ(store.Item(0).title, "kept");
}

TEST(HeadlineListFile, SaveThenLoadGivesTheSameItemsAndLines) {
    TempDir dir;
    THeadlineStore store;
    store.Append({Utf8ToAnsi("联合国大会今日开幕"), "http://go.test/go/?url=http://a.test/1.html"});
    store.Append({"", "http://go.test/go/?url=http://a.test/2.html"});
    store.Append({"English & more", "http://go.test/go/?url="});
    ASSERT_TRUE(SaveHeadlineList(dir.File("list.txt"), store));
    EXPECT_EQ(TempDir::Get(dir.File("list.txt")),
              Utf8ToAnsi("联合国大会今日开幕") + "\r\nhttp://go.test/go/?url=http://a.test/"
                                                 "1.html\r\n\r\nhttp://go.test/go/?url=http://a.test/2.html"
                                                 "\r\nEnglish & more\r\nhttp://go.test/go/?url=\r\n");
    THeadlineStore loaded;
    ASSERT_EQ(ImportHeadlineList(dir.File("list.txt"), loaded), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(loaded.Item(i), store.Item(i));
    EXPECT_EQ(HeadlineListLines(loaded), HeadlineListLines(store));
}

TEST(HeadlineListFile, TitlesOutsideGbkComeBackWholeFromAFeedThroughSaveAndLoad) {
    const std::string feed = "<rss><item><title>Ärger ä é ő</title><link>http://a.test/1</link></item>"
                             "<item><title>𠀀 rare</title><link>http://a.test/2</link></item>"
                             "<item><title>emoji 😀 news</title><link>http://a.test/3</link></item></rss>";
    THeadlineStore cut;
    ASSERT_EQ(CutHeadlines(feed, TFeedOrigin{}, cut), 3u);
    TempDir dir;
    ASSERT_TRUE(SaveHeadlineList(dir.File("list.txt"), cut));
    const std::string bytes = TempDir::Get(dir.File("list.txt"));
    EXPECT_EQ(bytes.find('?'), std::string::npos);
    THeadlineStore loaded;
    ASSERT_EQ(ImportHeadlineList(dir.File("list.txt"), loaded), 3);
    EXPECT_EQ(AnsiToUtf8(loaded.Item(0).title), "Ärger ä é ő");
    EXPECT_EQ(AnsiToUtf8(loaded.Item(1).title), "𠀀 rare");
    EXPECT_EQ(AnsiToUtf16(loaded.Item(2).title), u"emoji 😀 news");
}

TEST(HeadlineListFile, AnOldGbkFileAndOneWithBadBytesLoadAndSaveByteForByte) {
    // GBK's single-byte euro, a two-byte character, and bytes that are no character at all.
    const std::string old = "Price 5\x80 \xD0\xC2\xCE\xC5\r\nhttp://a.test/\r\nbad \xFF\x81\r\nl\r\n";
    TempDir dir;
    TempDir::Put(dir.File("old.txt"), old);
    THeadlineStore loaded;
    ASSERT_EQ(ImportHeadlineList(dir.File("old.txt"), loaded), 2);
    EXPECT_EQ(AnsiToUtf8(loaded.Item(0).title), "Price 5€ 新闻");
    EXPECT_EQ(AnsiToUtf8(loaded.Item(1).title), "bad \uFFFD\uFFFD");
    ASSERT_TRUE(SaveHeadlineList(dir.File("again.txt"), loaded));
    EXPECT_EQ(TempDir::Get(dir.File("again.txt")), old);
}

TEST(HeadlineListFile, AFifoADeviceAndAnOversizedFileAreRefusedAtOnce) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    THeadlineStore store;
    store.Append({"kept", "link"});
    EXPECT_THROW(ImportHeadlineList(dir.File("fifo"), store), EInOutError); // never blocks in open()
    EXPECT_THROW(ImportHeadlineList("/dev/zero", store), EInOutError);
    // A sparse file one byte past the cap takes no disk and no memory to refuse.
    { std::ofstream big(dir.File("big.txt")); }
    ASSERT_EQ(::truncate(dir.File("big.txt").c_str(), static_cast<off_t>(kMaxFileBytes) + 1), 0);
    EXPECT_THROW(ImportHeadlineList(dir.File("big.txt"), store), EInOutError);
    EXPECT_EQ(store.Count(), 1);
}

TEST(HeadlineListFile, FailedSaveKeepsTheOldFile) {
    TempDir dir;
    const std::string file = dir.File("list.txt");
    TempDir::Put(file, "old title\r\nold link\r\n");
    THeadlineStore store;
    for (int i = 0; i < 20000; ++i)
        store.Append({"a headline that takes some room " + std::to_string(i), "http://go.test/go/?url=x"});

    // The disk fills up in the middle of the list.
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 200000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    bool threw = false;
    try {
        SaveHeadlineList(file, store);
    } catch (const EInOutError&) {
        threw = true;
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(threw);
    EXPECT_EQ(TempDir::Get(file), "old title\r\nold link\r\n");
    EXPECT_EQ(dir.Count(), 1u);

    // A read-only file is not replaced; a missing directory cannot take one.
    ::chmod(file.c_str(), 0444);
    EXPECT_THROW(SaveHeadlineList(file, store), EInOutError);
    EXPECT_EQ(TempDir::Get(file), "old title\r\nold link\r\n");
    EXPECT_THROW(SaveHeadlineList(dir.File("no/such/dir.txt"), store), EInOutError);
    EXPECT_EQ(dir.Count(), 1u);
}

TEST(HeadlineStore, ResetKeepsTheArrayUntilTheNextAppendCutsIt) {
    THeadlineStore store;
    store.Append({"a", "1"});
    store.Append({"b", "2"});
    store.Append({"c", "3"});
    store.Reset();
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(store.ArrayLength(), 3u);
    EXPECT_THROW(store.Item(0), std::out_of_range);
    store.Append({"d", "4"});
    EXPECT_EQ(store.ArrayLength(), 1u);
    EXPECT_EQ(store.Item(0).title, "d");
    EXPECT_THROW(store.Item(1), std::out_of_range);
    EXPECT_THROW(store.Item(-1), std::out_of_range);
}
