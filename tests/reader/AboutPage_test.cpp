#include "reader/AboutPage.h"

#include "framework/core/CodePage.h"
#include "framework/core/EInOutError.h"
#include "framework/core/TIniFile.h"
#include "reader/TReaderHosts.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::size_t count(const std::string& s, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1))
        ++n;
    return n;
}

} // namespace

TEST(AboutPage, IsOneGbkLineWithTheTagsInOrderAndTheirMixedCase) {
    TReaderHosts hosts;
    const std::string bytes = AboutPageBytes(hosts);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_EQ(bytes.find_first_of("\r\n"), bytes.size() - 2);
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(bytes)), bytes); // GBK through and through
    // The title as GBK bytes, spelled out so the code page is not checked by itself.
    EXPECT_NE(bytes.find("<b>Zelmora\xD0\xC2\xCE\xC5\xE4\xAF\xC0\xC0\xC6\xF7 V2.01</b>"), std::string::npos);
    const std::string html = AnsiToUtf8(bytes.substr(0, bytes.size() - 2));

    EXPECT_EQ(html.rfind("<body bgcolor=\"#FCF6E8\" link=\"#0099FF\" vlink=\"#000099\" alink=\"#0066FF\">"
                         "<font size=\"4\"><b>Zelmora新闻浏览器 V2.01</b><BR><BR><BR>",
                         0),
              0u);
    const std::size_t link = html.find("<a href=\"http://www.zelmora-news.example\" target=\"_blank\">"
                                       "<b>点击这里访问我的网站</b></a>");
    ASSERT_NE(link, std::string::npos);
    const std::string before = html.substr(0, link), after = html.substr(link);
    EXPECT_EQ(count(before, "<BR>"), 6u); // three, the paragraph, two, the credit line, one
    EXPECT_EQ(count(before, "<br>"), 0u);
    EXPECT_NE(before.find("<BR><BR>", before.find("<BR><BR><BR>") + 12), std::string::npos);
    EXPECT_EQ(after.substr(after.find("</a>") + 4, 4), "<br>");
    EXPECT_EQ(count(after, "<BR>"), 0u);
    EXPECT_GT(after.size(), after.find("<br>") + 4); // the contact line follows
    EXPECT_EQ(html.find("</font>"), std::string::npos);
    EXPECT_EQ(html.find("</body>"), std::string::npos);
}

TEST(AboutPage, IsWrittenIntoTheGivenDirectoryAndLinksTheConfiguredSite) {
    TempDir dir, other;
    TempDir::Put(other.File("config.ini"), "[hosts]\r\nsite=127.0.0.1:8480\r\n");
    TReaderHosts hosts{TIniFile(other.File("config.ini"))};
    TempDir::Put(dir.File("info.htm"), "an older, longer page that must disappear entirely");
    const std::string path = WriteAboutPage(hosts, dir.Path().string());
    EXPECT_EQ(path, dir.File("info.htm"));
    EXPECT_EQ(TempDir::Get(path), AboutPageBytes(hosts));
    EXPECT_NE(AnsiToUtf8(TempDir::Get(path)).find("href=\"http://127.0.0.1:8480\""), std::string::npos);
    EXPECT_EQ(dir.Count(), 1u);

    ::chmod(path.c_str(), 0444);
    EXPECT_THROW(WriteAboutPage(hosts, dir.Path().string()), EInOutError);
    EXPECT_THROW(WriteAboutPage(hosts, ""), EInOutError);

    // A cache directory that does not exist yet is made.
    const std::string made = WriteAboutPage(hosts, (other.Path() / "cache" / "zelmora").string());
    EXPECT_EQ(TempDir::Get(made), AboutPageBytes(hosts));
}
