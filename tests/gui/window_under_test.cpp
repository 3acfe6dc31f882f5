#include "window_under_test.h"

#include <QComboBox>
#include <QEventLoop>
#include <QHeaderView>
#include <QTimer>

#include "settings/program_folder.h"
#include "simbox_env.h"

namespace {

constexpr int kLoginTimeoutMs = 20000;
constexpr int kListingTimeoutMs = 5000;
constexpr int kPollMs = 5;

// The box's login, or none outside a box: the window then just fails to
// connect.
olmira::test::SimboxEnv Box() {
    return olmira::test::FindSimbox().value_or(olmira::test::SimboxEnv{});
}

}  // namespace

// A real event loop rather than QTest::qWaitFor, which sleeps between its
// rounds and so would slow down every hand-over from the channel's reader.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    if (condition()) {
        return true;
    }
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (condition()) {
            loop.quit();
        }
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start(kPollMs);
    deadline.start(timeoutMs);
    loop.exec();
    return condition();
}

int ExitCodeAfterClicking(WindowUnderTest& test, const char* name) {
    QTimer failSafe;
    failSafe.setSingleShot(true);
    QObject::connect(&failSafe, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    failSafe.start(10000);
    QTimer::singleShot(0, &failSafe, [&test, name] { test.Click(name); });
    return QCoreApplication::exec();
}

std::vector<std::string> BoxHistory() {
    return olmira::test::BoxCommandsReceived();
}

std::string WindowUnderTest::BoxIni(const std::optional<std::string>& host) {
    const olmira::test::SimboxEnv box = Box();
    return "[Network]\r\nolmira_Host=" + host.value_or("127.0.0.1") +
           "\r\nolmira_User=" + box.user + "\r\nolmira_Pass=" + box.password + "\r\n";
}

WindowUnderTest::WindowUnderTest(const std::string& ini, const std::string& stateFile) {
    folder_.Write("olmirafm.ini", ini);
    const olmira::SetupPlace place{folder_.Path(), folder_.File("olmirafm.ini"),
                                   olmira::ProcessEnvironment};
    window_ = std::make_unique<TformMain>(
        place, boxes_,
        QString::fromStdString(stateFile.empty() ? folder_.File("fenster.ini") : stateFile));
    QObject::connect(window_.get(), &TformMain::statusTextChanged,
                     [this](const QString& text) { statusTexts_ << text; });
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_.get())) {
        throw std::runtime_error("the main window was not shown");
    }
}

void WindowUnderTest::Click(const char* name) {
    QTest::mouseClick(&Child<QWidget>(name), Qt::LeftButton);
}

QStringList WindowUnderTest::Captions(const char* listName) const {
    const QAbstractItemModel& model = *Child<EntryListView>(listName).model();
    QStringList captions;
    for (int row = 0; row < model.rowCount(); ++row) {
        captions << model.index(row, 0).data().toString();
    }
    return captions;
}

QString WindowUnderTest::Cell(const char* listName, int row, int column) const {
    return Child<EntryListView>(listName).model()->index(row, column).data().toString();
}

bool WindowUnderTest::Select(const char* listName, const QString& caption) {
    EntryListView& list = Child<EntryListView>(listName);
    const int row = static_cast<int>(Captions(listName).indexOf(caption));
    if (row < 0) {
        return false;
    }
    list.setFocus();
    list.setCurrentIndex(list.model()->index(row, 0));
    return true;
}

void WindowUnderTest::ClickHeader(const char* listName, int column) {
    QHeaderView& header = *Child<EntryListView>(listName).header();
    const QPoint middle(header.sectionViewportPosition(column) + header.sectionSize(column) / 2,
                        header.height() / 2);
    QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, middle);
}

void WindowUnderTest::DoubleClick(const char* listName, const QString& caption) {
    ASSERT_TRUE(Select(listName, caption)) << caption.toStdString();
    EntryListView& list = Child<EntryListView>(listName);
    const QPoint where = list.visualRect(list.currentIndex()).center();
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, where);
}

void WindowUnderTest::ChooseDrive(const char* mediaName, const char* goName, const QString& drive) {
    QComboBox& box = Child<QComboBox>(mediaName);
    const int index = box.findText(drive);
    ASSERT_GE(index, 0) << drive.toStdString();
    box.setCurrentIndex(index);
    Click(goName);
}

bool WindowUnderTest::ConnectAndLogIn() {
    Click("tbConnect");
    return WaitUntil([this] { return Enabled("panelSource") && Enabled("panelDest"); },
                     kLoginTimeoutMs);
}

bool WindowUnderTest::WaitForCaption(const char* listName, const QString& caption) {
    return WaitUntil([&] { return Captions(listName).contains(caption); }, kListingTimeoutMs);
}
