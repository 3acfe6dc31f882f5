// The real modal steps behind the picker seam: Qt's folder dialog in its two
// styles and the input box, answered from inside their modal loops.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QTimer>
#include <functional>

#include "folder_pickers.h"
#include "temp_folder.h"

namespace {

using olmira::test_support::TempFolder;

// Runs answer on the first modal dialog of type Dialog that shows up.
template <typename Dialog>
void AnswerModal(QTimer& poll, const std::function<void(Dialog&)>& answer) {
    QObject::connect(&poll, &QTimer::timeout, [&poll, answer] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll.stop();
            answer(*dialog);
        }
    });
    poll.start(5);
}

TEST(QtFolderPickers, TheOlderStyleIsReadOnlyAndOpensAtTheStartFolder) {
    TempFolder start;
    QtFolderPickers pickers;
    QTimer poll;
    AnswerModal<QFileDialog>(poll, [&start](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Bitte Ordner auswählen..."));
        EXPECT_EQ(dialog.directory().absolutePath(), QString::fromStdString(start.Path()));
        EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
        EXPECT_TRUE(dialog.testOption(QFileDialog::ReadOnly));
        EXPECT_TRUE(dialog.testOption(QFileDialog::ShowDirsOnly));
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontResolveSymlinks));
        EXPECT_TRUE(dialog.sidebarUrls().contains(QUrl::fromLocalFile(QStringLiteral("/"))));
        static_cast<QDialog&>(dialog).accept();
    });
    const std::optional<QString> chosen = pickers.ChooseFolder(
        {nullptr, QStringLiteral("Bitte Ordner auswählen..."),
         QString::fromStdString(start.Path() + "/"), QStringLiteral("/"), false, false, false});
    EXPECT_EQ(chosen, QString::fromStdString(start.Path()));
}

TEST(QtFolderPickers, TheNewerStyleMayCreateFoldersAndCancelChoosesNothing) {
    QtFolderPickers pickers;
    QTimer poll;
    AnswerModal<QFileDialog>(poll, [](QFileDialog& dialog) {
        EXPECT_FALSE(dialog.testOption(QFileDialog::ReadOnly));
        // A start folder that is not there opens at the home folder.
        EXPECT_EQ(dialog.directory().absolutePath(), QDir::homePath());
        dialog.reject();
    });
    EXPECT_EQ(pickers.ChooseFolder({nullptr, QStringLiteral("t"), QStringLiteral("D:\\Filme/"),
                                    QStringLiteral("/"), false, true, false}),
              std::nullopt);
}

TEST(QtFolderPickers, TheInputBoxAsksWithItsCaptionPromptAndText) {
    QtFolderPickers pickers;
    QTimer poll;
    AnswerModal<QInputDialog>(poll, [](QInputDialog& box) {
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Neuer Ordner"));
        EXPECT_EQ(box.labelText(), QStringLiteral("Name des neuen Ordners"));
        EXPECT_EQ(box.textValue(), QStringLiteral("Neuer Ordner"));
        box.setTextValue(QStringLiteral("a/b"));
        box.accept();
    });
    EXPECT_EQ(
        pickers.AskText(nullptr, QStringLiteral("Neuer Ordner"),
                        QStringLiteral("Name des neuen Ordners"), QStringLiteral("Neuer Ordner")),
        QStringLiteral("a/b"));
}

}  // namespace
