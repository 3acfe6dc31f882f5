// The main window's setup button: a new modal dialog for every click, which
// saves for the next start and leaves the running settings alone.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "form_setup_dlg.h"
#include "recording_folder_pickers.h"
#include "window_under_test.h"

namespace {

// Runs answer on the setup dialog once it is shown modally by a click on
// tbSetup; false when no dialog came.
bool ClickSetupAndAnswer(WindowUnderTest& test, const std::function<void(TformSetupDlg&)>& answer) {
    bool answered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = test.Window().findChild<TformSetupDlg*>(QStringLiteral("formSetupDlg"));
        if (dialog == nullptr || !dialog->isVisible() || answered) {
            return;
        }
        answered = true;
        poll.stop();
        answer(*dialog);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
    poll.start(5);
    test.Click("tbSetup");
    return answered;
}

template <typename Widget>
Widget& In(TformSetupDlg& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QString::fromUtf8(name));
    if (widget == nullptr) {
        throw std::runtime_error(std::string("no control ") + name);
    }
    return *widget;
}

TEST(SetupButton, OpensTheDialogWhoseSavedHostHoldsOnlyFromTheNextStart) {
    WindowUnderTest test(WindowUnderTest::BoxIni("box.example"));
    RecordingFolderPickers pickers;
    pickers.folderAnswer = QStringLiteral("/srv/pc1");
    test.Window().UseFolderPickers(pickers);

    ASSERT_TRUE(ClickSetupAndAnswer(test, [](TformSetupDlg& dialog) {
        EXPECT_TRUE(dialog.isModal());
        EXPECT_EQ(dialog.parentWidget()->objectName(), QStringLiteral("formMain"));
        EXPECT_EQ(In<QTabWidget>(dialog, "PageControl").count(), 5);
        EXPECT_EQ(In<QLineEdit>(dialog, "eBoxIP").text(), QStringLiteral("box.example"));
        In<QLineEdit>(dialog, "eBoxIP").setText(QStringLiteral("neu.example"));
        In<QPushButton>(dialog, "bBrowsePC1").click();
        In<QPushButton>(dialog, "bOk").click();
    }));
    EXPECT_EQ(pickers.folderRequests.size(), 1U);
    EXPECT_EQ(test.Window().findChild<TformSetupDlg*>(), nullptr);
    EXPECT_EQ(test.Hint("tbConnect"), QStringLiteral("Verbindung zu box.example herstellen"));
    EXPECT_EQ(test.Window().Settings().olmira_Host, "box.example");
    EXPECT_TRUE(test.Boxes().shown.empty());

    // The next dialog reads the file afresh.
    ASSERT_TRUE(ClickSetupAndAnswer(test, [](TformSetupDlg& dialog) {
        EXPECT_EQ(In<QLineEdit>(dialog, "eBoxIP").text(), QStringLiteral("neu.example"));
        EXPECT_EQ(In<QLineEdit>(dialog, "ePC1").text(), QStringLiteral("/srv/pc1"));
        In<QPushButton>(dialog, "bCancel").click();
    }));
    EXPECT_EQ(test.Hint("tbConnect"), QStringLiteral("Verbindung zu box.example herstellen"));
}

}  // namespace
