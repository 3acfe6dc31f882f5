// Saves a picture of the main window as a user sees it at work: connected
// to the simulated box, a folder listed in each pane, the left one active,
// and beside it the job list with a copy the box runs in the background.
// Run inside a box whose cp is slow.
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "form_jobs.h"
#include "message_boxes.h"
#include "simbox_env.h"
#include "window_under_test.h"

namespace {

bool Fail(const char* what) {
    std::fprintf(stderr, "take_screenshot: %s\n", what);
    return false;
}

bool BrowseTheBox(WindowUnderTest& test) {
    if (!test.ConnectAndLogIn()) {
        return Fail("the box's drive list did not come");
    }
    test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
    if (!test.WaitForCaption("SourceList", "Filme/")) {
        return Fail("hdd/ was not listed");
    }
    // One command at a time: a second one would drop the first one's reply.
    test.DoubleClick("SourceList", "Filme/");
    if (!test.WaitForCaption("SourceList", "Serien/")) {
        return Fail("hdd/Filme/ was not listed");
    }
    test.ChooseDrive("cbDestMedia", "bChgDestRootFolder", "usb/");
    if (!test.WaitForCaption("DestList", "Konzert.ts")) {
        return Fail("usb/ was not listed");
    }
    // The source pane active, each pane with its drive's free space.
    test.Child<QWidget>("SourceList").setFocus();
    test.Select("SourceList", "Spielfilm 1.ts");
    if (!WaitUntil([&test] {
            return !test.Text("labelSourceFree").isEmpty() && !test.Text("labelDestFree").isEmpty();
        })) {
        return Fail("the free space was not shown");
    }
    return true;
}

// A copy in the background, the job list open on it.
bool StartAJob(WindowUnderTest& test) {
    test.Click("tbCopyFile");
    if (!WaitUntil([&test] { return test.Child<QToolButton>("labelJobs").text().contains('%'); },
                   10000)) {
        return Fail("the copy did not show in the status bar");
    }
    test.Click("tbJobs");
    QTest::qWait(1500);
    return true;
}

// The two windows side by side, as a desktop shows them.
QPixmap SideBySide(const QPixmap& main, const QPixmap& jobs) {
    constexpr int kGap = 16;
    QPixmap both(main.width() + kGap + jobs.width(), std::max(main.height(), jobs.height()));
    both.fill(QColor(0x3b, 0x4a, 0x5a));
    QPainter painter(&both);
    painter.drawPixmap(0, 0, main);
    painter.drawPixmap(main.width() + kGap, 0, jobs);
    return both;
}

}  // namespace

int main(int argc, char* argv[]) {
    // the job it starts is remembered in a folder of its own, not the user's
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tools/simbox run -- take_screenshot FILE.png\n");
        return 2;
    }
    if (!olmira::test::FindSimbox()) {
        Fail("no simulated box: run it as tools/simbox run -- take_screenshot FILE.png");
        return 2;
    }
    WindowUnderTest test(WindowUnderTest::BoxIni() +
                         "[Transfer]\r\nbackground_jobs=1\r\nupdate_intervall=1000\r\n");
    if (!BrowseTheBox(test) || !StartAJob(test)) {
        return 1;
    }
    TformJobs& jobs = test.Window().JobsWindow();
    jobs.resize(640, test.Window().height());
    QTest::qWait(100);
    if (!SideBySide(test.Window().grab(), jobs.grab()).save(QString::fromLocal8Bit(argv[1]))) {
        Fail("the picture could not be saved");
        return 1;
    }
    return 0;
}
