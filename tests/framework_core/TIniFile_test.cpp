#include "framework/core/TIniFile.h"

#include "framework/core/EIniFileException.h"
#include "tests/support/TempDir.h"
#include "tests/support/WithoutFileOverride.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(TIniFile, MissingFileReadsDefaultsAndIsNotCreatedByReading) {
    TempDir dir;
    TIniFile ini(dir.File("config.ini"));
    EXPECT_EQ(ini.ReadString("proxy", "ip", "none"), "none");
    EXPECT_EQ(ini.ReadInteger("form", "width", 652), 652);
    EXPECT_EQ(dir.Count(), 0u);
}

TEST(TIniFile, IntegersAreDecimalOrPrefixedHexAndAnythingElseGivesTheDefault) {
    TempDir dir;
    TempDir::Put(dir.File("c.ini"),
                 "[form]\r\nwidth=0x28C\r\nheigth=0X28c\r\ntop= 48 \r\nleft=-12\r\n"
                 "skin=abc\r\ngroupwid=12px\r\nlbwid=\r\nshowtitle=$10\r\nbig=4294967296\r\n"
                 "max=2147483647\r\nmin=-2147483648\r\nover=2147483648\r\nall=0xFFFFFFFF\r\n"
                 "bare=0x\r\nplus=+7\r\nfloat=1.5\r\n");
    TIniFile ini(dir.File("c.ini"));
    EXPECT_EQ(ini.ReadInteger("form", "width", 1), 652);
    EXPECT_EQ(ini.ReadInteger("form", "heigth", 1), 652);
    EXPECT_EQ(ini.ReadInteger("form", "top", 1), 48);
    EXPECT_EQ(ini.ReadInteger("form", "left", 1), -12);
    EXPECT_EQ(ini.ReadInteger("form", "skin", 9), 9);
    EXPECT_EQ(ini.ReadInteger("form", "groupwid", 277), 277);
    EXPECT_EQ(ini.ReadInteger("form", "lbwid", 257), 257);
    EXPECT_EQ(ini.ReadInteger("form", "showtitle", 1), 1);
    EXPECT_EQ(ini.ReadInteger("form", "big", 5), 5);
    EXPECT_EQ(ini.ReadInteger("form", "max", 5), 2147483647);
    EXPECT_EQ(ini.ReadInteger("form", "min", 5), -2147483647 - 1);
    EXPECT_EQ(ini.ReadInteger("form", "over", 5), 5);
    EXPECT_EQ(ini.ReadInteger("form", "all", 5), -1);
    EXPECT_EQ(ini.ReadInteger("form", "bare", 5), 5);
    EXPECT_EQ(ini.ReadInteger("form", "plus", 5), 7);
    EXPECT_EQ(ini.ReadInteger("form", "float", 5), 5);
    EXPECT_EQ(ini.ReadInteger("form", "absent", 5), 5);
}

TEST(TIniFile, SectionsAndKeysIgnoreCaseAndTheFirstOfEachWins) {
    TempDir dir;
    TempDir::Put(dir.File("c.ini"), "\xEF\xBB\xBF[Proxy]\nIP = 10.0.0.1 \nip=second\nname=\"quoted user\"\n"
                                    "; ip=comment\n[HOSTS]\nFeed=127.0.0.1:8480\n[proxy]\nport=99\n");
    TIniFile ini(dir.File("c.ini"));
    EXPECT_EQ(ini.ReadString("proxy", "ip", ""), "10.0.0.1");
    EXPECT_EQ(ini.ReadString("PROXY", "Ip", ""), "10.0.0.1");
    EXPECT_EQ(ini.ReadString("proxy", "name", ""), "quoted user");
    EXPECT_EQ(ini.ReadString("hosts", "feed", ""), "127.0.0.1:8480");
    EXPECT_EQ(ini.ReadString("proxy", "port", "x"), "x"); // a later duplicate section is not read
    EXPECT_TRUE(ini.SectionExists("hosts"));
    EXPECT_FALSE(ini.ValueExists("hosts", "site"));
}

TEST(TIniFile, WritingKeepsEveryOtherLineAndRoundTrips) {
    TempDir dir;
    const std::string original =
        "; settings of the reader\r\n[proxy]\r\nip=proxy.lan\r\nport=3128\r\n\r\n"
        "[Form]\r\nWidth=600\r\n# odd line kept\r\n\r\n[hosts]\r\nfeed=127.0.0.1:1\r\n";
    TempDir::Put(dir.File("config.ini"), original);
    TIniFile ini(dir.File("config.ini"));
    ini.WriteInteger("form", "width", 652);
    ini.WriteInteger("form", "heigth", 565);
    ini.WriteInteger("form", "showtitle", 0);
    ini.WriteString("extra", "note", "a\r\n[proxy]\r\nip=injected");
    ini.UpdateFile();
    EXPECT_EQ(TempDir::Get(dir.File("config.ini")),
              "; settings of the reader\r\n[proxy]\r\nip=proxy.lan\r\nport=3128\r\n\r\n"
              "[Form]\r\nWidth=652\r\n# odd line kept\r\nheigth=565\r\nshowtitle=0\r\n\r\n[hosts]\r\n"
              "feed=127.0.0.1:1\r\n[extra]\r\nnote=a  [proxy]  ip=injected\r\n");
    TIniFile again(dir.File("config.ini"));
    EXPECT_EQ(again.ReadInteger("FORM", "WIDTH", 0), 652);
    EXPECT_EQ(again.ReadInteger("form", "heigth", 0), 565);
    EXPECT_EQ(again.ReadString("proxy", "ip", ""), "proxy.lan");
    EXPECT_EQ(again.ReadString("hosts", "feed", ""), "127.0.0.1:1");
    EXPECT_EQ(dir.Count(), 1u);
}

TEST(TIniFile, NewFileIsCreatedWithCrLfLines) {
    TempDir dir;
    TIniFile ini(dir.File("config.ini"));
    ini.WriteInteger("form", "width", 700);
    ini.WriteString("form", "skin", "3");
    ini.UpdateFile();
    EXPECT_EQ(TempDir::Get(dir.File("config.ini")), "[form]\r\nwidth=700\r\nskin=3\r\n");
}

TEST(TIniFile, UnwritableFileOrDirectoryThrowsWithTheFullPathAndKeepsTheOldFile) {
    TempDir dir;
    const std::string file = dir.File("config.ini");
    TempDir::Put(file, "[form]\r\nwidth=600\r\n");
    ::chmod(file.c_str(), 0444);
    TIniFile ini(file);
    ini.WriteInteger("form", "width", 652);
    try {
        ini.UpdateFile();
        FAIL() << "a read-only file was replaced";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + file);
        EXPECT_STREQ(e.ClassName(), "EIniFileException");
    }
    EXPECT_EQ(TempDir::Get(file), "[form]\r\nwidth=600\r\n");
    EXPECT_EQ(dir.Count(), 1u);

    // A directory that does not exist cannot take the file either; the message names the full path.
    InDirectory inDir(dir.Path());
    TIniFile relative("missing/config.ini");
    relative.WriteInteger("form", "width", 1);
    try {
        relative.UpdateFile();
        FAIL() << "wrote into a missing directory";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + dir.File("missing/config.ini"));
    }
}

TEST(TIniFile, AFileThatCouldNotBeReadIsNeverWrittenBack) {
    TempDir dir;
    const std::string file = dir.File("config.ini");
    const std::string held = "[hosts]\r\nfeed=news.lan\r\n[proxy]\r\npassword=secret\r\n";
    TempDir::Put(file, held);
    ::chmod(file.c_str(), 0200); // may be written, not read
    {
        WithoutFileOverride bitsHold;
        TIniFile ini(file);
        EXPECT_TRUE(ini.ReadFailed());
        EXPECT_EQ(ini.ReadString("proxy", "password", "none"), "none"); // reads as empty
        ini.WriteInteger("form", "width", 652);
        try {
            ini.UpdateFile();
            FAIL() << "an unread file was replaced";
        } catch (const EIniFileException& e) {
            EXPECT_EQ(e.Message(), "Unable to write to " + file);
        }
    }
    ::chmod(file.c_str(), 0600);
    EXPECT_EQ(TempDir::Get(file), held);
    EXPECT_EQ(dir.Count(), 1u);

    // Something that is not a file under that name cannot be read either; a missing file can
    // be created.
    std::filesystem::create_directory(dir.File("dir.ini"));
    EXPECT_TRUE(TIniFile(dir.File("dir.ini")).ReadFailed());
    TIniFile fresh(dir.File("new.ini"));
    EXPECT_FALSE(fresh.ReadFailed());
    fresh.WriteInteger("form", "width", 1);
    EXPECT_NO_THROW(fresh.UpdateFile());
}

namespace {

// Makes a directory refuse new entries for whoever runs the test. Without write bits an ordinary
// user cannot add a file; root ignores the bits, so for root the directory is made immutable as
// well, which even root cannot write into. Both are undone at the end of the scope.
class UnwritableDirectory {
public:
    explicit UnwritableDirectory(const std::filesystem::path& dir) : dir_(dir) {
        ::chmod(dir_.c_str(), 0555);
        if (::geteuid() != 0)
            return;
        fd_ = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        int flags = 0;
        if (fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            immutable_ = ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }
    ~UnwritableDirectory() {
        int flags = 0;
        if (immutable_ && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd_, FS_IOC_SETFLAGS, &flags);
        }
        if (fd_ >= 0)
            ::close(fd_);
        ::chmod(dir_.c_str(), 0755);
    }
    UnwritableDirectory(const UnwritableDirectory&) = delete;
    UnwritableDirectory& operator=(const UnwritableDirectory&) = delete;

    // Whether a new file in the directory is now refused.
    bool Holds() const { return ::geteuid() != 0 || immutable_; }

private:
    std::filesystem::path dir_;
    int fd_ = -1;
    bool immutable_ = false;
};

} // namespace

TEST(TIniFile, ReadOnlyDirectoryKeepsTheOldFile) {
    TempDir dir;
    const std::string file = dir.File("config.ini");
    TempDir::Put(file, "[form]\r\nwidth=600\r\n");
    TIniFile ini(file);
    ini.WriteInteger("form", "width", 652);
    {
        UnwritableDirectory readOnly(dir.Path());
        ASSERT_TRUE(readOnly.Holds()) << "running as root, the directory could not be made immutable";
        EXPECT_THROW(ini.UpdateFile(), EIniFileException);
    }
    EXPECT_EQ(TempDir::Get(file), "[form]\r\nwidth=600\r\n");
    EXPECT_EQ(dir.Count(), 1u);
}
