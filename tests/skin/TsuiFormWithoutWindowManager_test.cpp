// Maximising where no window manager runs: the frame places the window on the work area less its
// bottom row itself, and back where it stood on restore. The off-screen platform maximises by
// itself, so the test runs itself again on an X server of its own (Xvfb, no window manager) with
// the X11 platform.
#include "framework/TForm.h"
#include "framework/TPlatform.h"
#include "skin/TsuiForm.h"
#include "tests/support/GuiTest.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

constexpr const char* kInner = "ZEL_WITHOUT_WINDOW_MANAGER";

std::string text(const TRect& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + " " + std::to_string(r.Width()) + "x" +
           std::to_string(r.Height());
}

// The outer run: the same test in a child process on its own X server.
void runOnOwnXServer() {
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    ASSERT_FALSE(xvfbRun.isEmpty()) << "xvfb-run is needed (scripts/setup.sh installs it)";
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kInner), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    const QString filter =
        QStringLiteral("--gtest_filter=") +
        QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()) +
        QStringLiteral(".*");
    child.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1024x768x24"),
                          QCoreApplication::applicationFilePath(), filter});
    ASSERT_TRUE(child.waitForFinished(90000));
    const QString out = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << out.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("[  PASSED  ] 1 test"))) << out.toStdString();
}

} // namespace

TEST(WithoutWindowManager, MaximiseCoversTheWorkAreaLessItsBottomRowAndRestorePutsTheWindowBack) {
    if (!qEnvironmentVariableIsSet(kInner)) {
        runOnOwnXServer();
        return;
    }
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    TForm host(nullptr);
    host.SetBounds(100, 80, 500, 400);
    new TsuiForm(&host);
    host.Show();
    ASSERT_TRUE(zeltest::WaitFor(
        [&] { return host.isVisible() && host.BoundsRect() == Bounds(100, 80, 500, 400); }, 5000))
        << text(host.BoundsRect());
    const TRect before = host.BoundsRect();
    TRect work = Platform().WorkArea();
    work.Bottom -= 1;

    for (int round = 0; round < 2; ++round) {
        host.SetWindowState(wsMaximized);
        ASSERT_TRUE(zeltest::WaitFor([&] { return host.BoundsRect() == work; }, 5000))
            << round << ": " << text(host.BoundsRect()) << " for " << text(work);
        EXPECT_EQ(host.WindowState(), wsMaximized);
        host.SetWindowState(wsNormal);
        ASSERT_TRUE(zeltest::WaitFor([&] { return host.BoundsRect() == before; }, 5000))
            << round << ": " << text(host.BoundsRect()) << " for " << text(before);
        EXPECT_EQ(host.WindowState(), wsNormal);
    }
}
