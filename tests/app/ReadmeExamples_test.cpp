// The README's config.ini examples, read back through the reader: every key it shows must be
// taken with the value it shows, so a user who copies them gets what the text promises.
#include "app/FormSettings.h"
#include "framework/core/TIniFile.h"
#include "reader/TReaderHosts.h"
#include "tests/reader/SourceTree.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<std::string> iniBlocks() {
    const std::string readme = TempDir::Get((zeltest::SourceTree() / "README.md").string());
    std::vector<std::string> blocks;
    for (std::size_t p = readme.find("```ini\n"); p != std::string::npos; p = readme.find("```ini\n", p)) {
        p += 7;
        const std::size_t end = readme.find("```", p);
        blocks.push_back(readme.substr(p, end - p));
        p = end;
    }
    return blocks;
}

bool isNumber(const std::string& s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

} // namespace

TEST(ReadmeExamples, EveryKeyShownReadsBackAsTheValueShown) {
    const std::vector<std::string> blocks = iniBlocks();
    ASSERT_GE(blocks.size(), 2u);
    TempDir dir;
    int keys = 0;
    for (const std::string& block : blocks) {
        SCOPED_TRACE(block);
        TempDir::Put(dir.File("config.ini"), block);
        TIniFile ini(dir.File("config.ini"));
        std::istringstream lines(block);
        std::string line, section;
        while (std::getline(lines, line)) {
            if (line.empty() || line[0] == ';')
                continue;
            if (line[0] == '[') {
                section = line.substr(1, line.find(']') - 1);
                continue;
            }
            const std::size_t eq = line.find('=');
            ASSERT_NE(eq, std::string::npos) << line;
            // What a reader of the README takes the value to be: anything after a ";" looks like
            // a comment to people, whatever the file format makes of it.
            const std::string key = line.substr(0, eq);
            std::string value = line.substr(
                eq + 1, line.find(';') == std::string::npos ? std::string::npos : line.find(';') - eq - 1);
            while (!value.empty() && value.back() == ' ')
                value.pop_back();
            ++keys;
            if (isNumber(value))
                EXPECT_EQ(ini.ReadInteger(section, key, -12345), std::stoi(value)) << line;
            else
                EXPECT_EQ(ini.ReadString(section, key, "(none)"), value) << line;
        }
    }
    EXPECT_GE(keys, 16);
}

TEST(ReadmeExamples, TheHostsAndWindowExamplesGiveTheirHostsAndValues) {
    const std::vector<std::string> blocks = iniBlocks();
    TempDir dir;
    std::string all;
    for (const std::string& b : blocks)
        all += b;
    TempDir::Put(dir.File("config.ini"), all);

    const TReaderHosts hosts{TIniFile(dir.File("config.ini"))};
    EXPECT_EQ(hosts.Feed(), "127.0.0.1:8480");
    EXPECT_EQ(hosts.Site(), "127.0.0.1:8480");
    EXPECT_EQ(hosts.IpLookup(), "127.0.0.1:8481");
    EXPECT_EQ(hosts.Redirect(), "127.0.0.1:8480");

    TProxySettings proxy;
    proxy.Port = 99;
    TFormSettings form;
    form.Width = form.Height = form.Top = -1;
    ASSERT_TRUE(ReadSettings(dir.File("config.ini"), proxy, form));
    EXPECT_EQ(form.Width, 652);
    EXPECT_EQ(form.Height, 565);
    EXPECT_EQ(form.Top, 48);
    EXPECT_EQ(form.ShowTitle, 1);
    EXPECT_EQ(proxy.Host, "");
    EXPECT_EQ(proxy.Port, 0);
}
