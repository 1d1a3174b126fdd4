// Reading theme files: the layout, the header test, and a table of hostile files that must each
// end in their documented result or a clear error.
#include "skin/TsuiThemeFileReader.h"
#include "skin/TsuiThemeFileWriter.h"
#include "tests/skin/ThemeFileBytes.h"
#include "tests/support/TempDir.h"
#include "tests/support/UnansweredFifo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>

using namespace themebytes;

namespace {

std::string tempFile(const std::string& name, std::string_view bytes) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return path;
}

// Header, then one record per call at 24, 101, ... chained in order, then the chain's end.
std::string chain(std::initializer_list<std::tuple<std::string, std::uint8_t, std::string>> items) {
    std::string s = header();
    const std::size_t records = items.size() + 1;
    std::size_t at = 24, dataAt = 24 + records * 77;
    for (const auto& [name, kind, bytes] : items) {
        record(s, at, name, kind, std::uint32_t(dataAt), std::uint32_t(bytes.size()), std::uint32_t(at + 77));
        data(s, dataAt, bytes);
        dataAt += bytes.size();
        at += 77;
    }
    record(s, at, "", 0xFF, 0, 0, 0);
    return s;
}

std::string le(std::int32_t v) {
    std::string s;
    putLe32(s, 0, std::uint32_t(v));
    return s;
}

} // namespace

TEST(ThemeFileReader, ReadsEachKindIntoItsListAndSkipsTheChainEnd) {
    TsuiThemeFileWriter w;
    w.AddInteger("FormBorderColor", 0x00336633);
    w.AddInteger("TitleBarButtonRightOffsetInt", -3);
    w.AddByte("TitleBarButtonTransparentBool", 1);
    w.AddText("Author", "Zelmora");
    w.AddImage("TitleBarLeftImage", "BMdata");
    w.Add("Odd", 7, "ignored");
    auto r = TsuiThemeFileReader::FromBytes(w.Bytes());
    ASSERT_EQ(r->Entries().size(), 5u); // the kind-7 record carries nothing
    EXPECT_EQ(r->Count(tekInteger), 2);
    EXPECT_EQ(r->Count(tekByte), 1);
    EXPECT_EQ(r->Count(tekText), 1);
    EXPECT_EQ(r->Count(tekImage), 1);
    EXPECT_EQ(r->Find(tekInteger, "formbordercolor")->Value, 0x336633);
    EXPECT_EQ(r->Find(tekInteger, "TITLEBARBUTTONRIGHTOFFSETINT")->Value, -3);
    EXPECT_EQ(r->Find(tekByte, "TitleBarButtonTransparentBool")->Value, 1);
    EXPECT_EQ(r->Find(tekText, "Author")->Data, "Zelmora");
    EXPECT_EQ(r->Find(tekImage, "TitleBarLeftImage")->Data, "BMdata");
    // Kinds are separate lists: a byte entry is no integer entry.
    EXPECT_EQ(r->Find(tekInteger, "TitleBarButtonTransparentBool"), nullptr);
}

TEST(ThemeFileReader, OneEntryAndTheChainEndGiveOneEntry_ALoneChainEndGivesNone) {
    EXPECT_EQ(TsuiThemeFileReader::FromBytes(chain({{"FormBorderColor", 1, le(5)}}))->Entries().size(), 1u);
    EXPECT_EQ(TsuiThemeFileReader::FromBytes(chain({}))->Entries().size(), 0u);
    // The chain's end is no entry even when it looks like one.
    std::string s = header();
    record(s, 24, "FormBorderColor", 1, 24, 4, 0);
    EXPECT_TRUE(TsuiThemeFileReader::FromBytes(s)->Entries().empty());
}

TEST(ThemeFileReader, HeaderTestTakesTheMagicUpToItsFirstZeroByte) {
    EXPECT_TRUE(TsuiThemeFileReader::HasMagic(header()));
    EXPECT_TRUE(TsuiThemeFileReader::HasMagic(header(24, 24, std::string_view("Quorvex_TB\0\0", 12))));
    EXPECT_FALSE(TsuiThemeFileReader::HasMagic(header(24, 24, "Quorvex_TBX")));
    EXPECT_FALSE(TsuiThemeFileReader::HasMagic(header(24, 24, "quorvex_TB")));
    EXPECT_FALSE(TsuiThemeFileReader::HasMagic(header(24, 24, "Quorvex_T")));
    EXPECT_FALSE(TsuiThemeFileReader::HasMagic("Quorvex_TB\0\0\0")); // shorter than 16
    EXPECT_TRUE(TsuiThemeFileReader::IsThemeFile(tempFile("magic16", header().substr(0, 16))));
    EXPECT_FALSE(TsuiThemeFileReader::IsThemeFile(tempFile("magic15", header().substr(0, 15))));
    EXPECT_FALSE(TsuiThemeFileReader::IsThemeFile(::testing::TempDir() + "no-such-theme"));
}

TEST(ThemeFileReader, ReadsFromAFileAndWritesWhatItReads) {
    TsuiThemeFileWriter w;
    w.AddInteger("FormRoundCornerInt", 9);
    const std::string path = ::testing::TempDir() + "written.sui";
    w.SaveToFile(path);
    TsuiThemeFileReader r(path);
    ASSERT_EQ(r.Entries().size(), 1u);
    EXPECT_EQ(r.Entries()[0].Name, "FormRoundCornerInt");
    EXPECT_EQ(r.Entries()[0].Value, 9);
    EXPECT_THROW(TsuiThemeFileReader(::testing::TempDir() + "no-such-theme"), EThemeFileError);
}

TEST(ThemeFileReader, AFifoIsNotWaitedForAndADeviceNotRead) {
    TempDir dir;
    zeltest::UnansweredFifo fifo(dir.File("fifo.sui"));
    for (const std::string& path : {fifo.Path(), std::string("/dev/zero")}) {
        EXPECT_FALSE(TsuiThemeFileReader::IsThemeFile(path)) << path;
        try {
            TsuiThemeFileReader reader(path);
            ADD_FAILURE() << path << " was read";
        } catch (const EThemeFileError& e) {
            EXPECT_NE(std::string(e.what()).find("Not a regular file"), std::string::npos) << e.what();
        }
    }
    EXPECT_FALSE(fifo.HadToRelease()) << "the reader waited for a writer";
}

// Each hostile file: what it is, its bytes, and the result: the entry count it reads to, or the
// part of the error message it must end with.
struct Hostile {
    const char* what;
    std::function<std::string()> bytes;
    int entries;       // -1: an error is expected
    const char* error; // part of the message
};

const Hostile kHostile[] = {
    {"empty file", [] { return std::string(); }, -1, "shorter than its 24-byte header"},
    {"header cut at 20 bytes", [] { return header().substr(0, 20); }, -1, "shorter than its 24-byte header"},
    {"wrong magic", [] { return header(24, 24, "Quorvex_TC") + chain({}).substr(24); }, -1,
     "Invalid skin file"},
    {"magic with a further character", [] { return header(24, 24, "Quorvex_TBs") + chain({}).substr(24); },
     -1, "Invalid skin file"},
    {"header length 25", [] { return header(25) + chain({}).substr(24); }, -1, "header length 25 is not 24"},
    {"header length 4 GiB - 1", [] { return header(0xFFFFFFFF) + chain({}).substr(24); }, -1,
     "header length 4294967295 is not 24"},
    {"header length 16 leaves the first offset unread", [] { return header(16) + chain({}).substr(24); }, -1,
     "header length 16 is not 24"},
    {"first record past the end", [] { return header(24, 5000); }, -1, "record at offset 5000 lies outside"},
    {"first record at 4 GiB - 1", [] { return header(24, 0xFFFFFFFF); }, -1, "lies outside the file"},
    {"file ends inside the first record",
     [] {
         std::string s = chain({{"FormBorderColor", 1, le(1)}});
         return s.substr(0, 24 + 50);
     },
     -1, "record at offset 24 lies outside"},
    {"record chained to itself",
     [] {
         std::string s = header();
         record(s, 24, "FormBorderColor", 1, 0, 4, 24);
         return s;
     },
     -1, "returns to an earlier record at offset 24"},
    {"two records chained in a ring",
     [] {
         std::string s = header();
         record(s, 24, "FormBorderColor", 1, 0, 4, 101);
         record(s, 101, "FormBorderWidthInt", 1, 0, 4, 24);
         return s;
     },
     -1, "returns to an earlier record at offset 24"},
    {"next record inside the one before",
     [] {
         std::string s = header();
         record(s, 24, "FormBorderColor", 1, 0, 4, 200);
         record(s, 200, "FormBorderWidthInt", 1, 0, 4, 60);
         record(s, 300, "", 0xFF, 0, 0, 0);
         return s;
     },
     -1, "returns to an earlier record at offset 60"},
    {"next record past the end",
     [] {
         std::string s = header();
         record(s, 24, "FormBorderColor", 1, 0, 4, 0x7FFFFFF0);
         return s;
     },
     -1, "lies outside the file"},
    {"integer of 2 GiB",
     [] {
         std::string s = chain({{"FormBorderColor", 1, le(1)}});
         putLe32(s, 24 + 69, 0x80000000u);
         return s;
     },
     -1, "\"FormBorderColor\" has data outside the file"},
    {"integer of 8 bytes",
     [] {
         return chain({{"FormBorderColor", 1, le(1) + le(2)}});
     },
     -1, "integer entry \"FormBorderColor\" holds 8 bytes, not 4"},
    {"integer of 2 bytes",
     [] {
         return chain({{"FormBorderColor", 1, "\x01\x02"}});
     },
     -1, "holds 2 bytes, not 4"},
    {"byte of 4 bytes",
     [] {
         return chain({{"TitleBarButtonTransparentBool", 2, le(1)}});
     },
     -1, "byte entry \"TitleBarButtonTransparentBool\" holds 4 bytes, not 1"},
    {"byte of 0 bytes",
     [] {
         return chain({{"TitleBarButtonTransparentBool", 2, ""}});
     },
     -1, "holds 0 bytes, not 1"},
    {"image data offset past the end",
     [] {
         std::string s = header();
         record(s, 24, "TitleBarLeftImage", 0, 9999, 10, 101);
         record(s, 101, "", 0xFF, 0, 0, 0);
         return s;
     },
     -1, "\"TitleBarLeftImage\" has data outside the file"},
    {"image size wrapping past 4 GiB",
     [] {
         std::string s = header();
         record(s, 24, "TitleBarLeftImage", 0, 100, 0xFFFFFFFF, 101);
         record(s, 101, "", 0xFF, 0, 0, 0);
         return s;
     },
     -1, "has data outside the file"},
    {"text one byte longer than the file",
     [] {
         std::string s = chain({{"Author", 3, "abc"}});
         putLe32(s, 24 + 69, 4);
         return s;
     },
     -1, "\"Author\" has data outside the file"},
    {"unknown kind with nonsense data fields",
     [] {
         std::string s = header();
         record(s, 24, "Whatever", 9, 0xFFFFFFFF, 0xFFFFFFFF, 101);
         record(s, 101, "", 0xFF, 0, 0, 0);
         return s;
     },
     0, nullptr},
    {"name without a zero byte",
     [] {
         return chain({{std::string(64, 'N'), 1, le(7)}});
     },
     1, nullptr},
    {"records behind their data, chained backwards",
     [] {
         std::string s = header(24, 300);
         data(s, 24, le(42));
         record(s, 300, "FormBorderWidthInt", 1, 24, 4, 150);
         record(s, 150, "FormRoundCornerInt", 1, 24, 4, 50);
         record(s, 50, "", 0xFF, 0, 0, 0);
         return s;
     },
     2, nullptr},
};

TEST(ThemeFileReader, HostileFilesEndInTheirResultOrAClearError) {
    ASSERT_GE(std::size(kHostile), 20u);
    for (const Hostile& h : kHostile) {
        SCOPED_TRACE(h.what);
        const std::string bytes = h.bytes();
        if (h.entries >= 0) {
            EXPECT_EQ(int(TsuiThemeFileReader::FromBytes(bytes)->Entries().size()), h.entries);
            continue;
        }
        try {
            TsuiThemeFileReader::FromBytes(bytes);
            ADD_FAILURE() << "no error";
        } catch (const EThemeFileError& e) {
            EXPECT_NE(std::string(e.what()).find(h.error), std::string::npos) << e.what();
        }
    }
}

TEST(ThemeFileReader, EntriesPointIntoTheFileInsteadOfCopyingIt) {
    // A thousand records all naming the same large image: the reader holds the file once.
    std::string s = header();
    const std::string image(100000, 'x');
    const std::size_t n = 1000, dataAt = 24 + (n + 1) * 77;
    for (std::size_t i = 0; i < n; ++i)
        record(s, 24 + i * 77, "TitleBarLeftImage", 0, std::uint32_t(dataAt), std::uint32_t(image.size()),
               std::uint32_t(24 + (i + 1) * 77));
    record(s, 24 + n * 77, "", 0xFF, 0, 0, 0);
    data(s, dataAt, image);
    auto r = TsuiThemeFileReader::FromBytes(s);
    ASSERT_EQ(r->Entries().size(), n);
    EXPECT_EQ(r->Entries()[0].Data.data(), r->Entries()[n - 1].Data.data());
}
