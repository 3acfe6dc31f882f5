// Saves a picture of the main window as a user sees it at work: connected
// to the simulated box, a folder listed in each pane, the left one active.
// Run inside the box.
#include <QApplication>
#include <QPixmap>
#include <cstdio>

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

}  // namespace

int main(int argc, char* argv[]) {
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
    WindowUnderTest test(WindowUnderTest::BoxIni());
    if (!BrowseTheBox(test)) {
        return 1;
    }
    QTest::qWait(100);
    if (!test.Window().grab().save(QString::fromLocal8Bit(argv[1]))) {
        Fail("the picture could not be saved");
        return 1;
    }
    return 0;
}
