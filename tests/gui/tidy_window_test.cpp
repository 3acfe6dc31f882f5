// Deleting, renaming, new folders, properties and free space through the
// main window's keys, buttons and context menu against the simulated box.
#include <gtest/gtest.h>

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QRegularExpression>
#include <filesystem>

#include "window_under_test.h"

namespace {

namespace fs = std::filesystem;

class TidyWindow : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test.ConnectAndLogIn()) << "no drive list";
        test.ChooseDrive("cbSourceMedia", "bChgSourceRootFolder", "hdd/");
        ASSERT_TRUE(test.WaitForCaption("SourceList", "Filme/"));
        list().activateWindow();
        list().setFocus();
        ASSERT_TRUE(WaitUntil([this] { return list().hasFocus(); }));
    }

    EntryListView& list() { return test.Child<EntryListView>("SourceList"); }

    // The last message box's text once one more than before has come.
    QString NextBox(std::size_t before) {
        if (!WaitUntil([&] { return test.Boxes().shown.size() > before; }, 10000)) {
            return QStringLiteral("(no box)");
        }
        return test.Boxes().shown.back().text;
    }

    QStringList Selected() {
        QStringList captions;
        for (const olmira::ListEntry& entry : test.Window().SelectedEntries(olmira::Source)) {
            captions << QString::fromStdString(entry.caption);
        }
        return captions;
    }

    fs::path hdd = fs::path(qEnvironmentVariable("SIMBOX_MEDIA").toStdString()) / "hdd";
    WindowUnderTest test{WindowUnderTest::BoxIni()};
};

// The question names the entry; Abbrechen sends nothing, Löschen removes
// the recording with its info file and lists the folder afresh.
TEST_F(TidyWindow, DeleteAsksFirstAndTakesTheRecordingsInfoFileAlong) {
    ASSERT_TRUE(WaitUntil([this] { return test.Text("labelSourceFree").startsWith("frei: "); }));
    ASSERT_TRUE(test.Select("SourceList", "Nachrichten.ts"));
    const std::size_t commands = BoxHistory().size();
    QTest::keyClick(&list(), Qt::Key_Delete);
    ASSERT_EQ(test.Boxes().shown.size(), 1U);
    EXPECT_EQ(test.Boxes().shown[0].text,
              QStringLiteral("„Nachrichten.ts“ löschen?\nDie Infodatei wird mitgelöscht."));
    QTest::qWait(200);
    EXPECT_EQ(BoxHistory().size(), commands);
    EXPECT_TRUE(fs::exists(hdd / "Nachrichten.ts"));

    test.Boxes().answerDelete = true;
    test.Click("tbSourceDelete");
    ASSERT_TRUE(WaitUntil(
        [this] { return !test.Captions("SourceList").contains(QStringLiteral("Nachrichten.ts")); },
        10000));
    EXPECT_FALSE(fs::exists(hdd / "Nachrichten.ts"));
    EXPECT_FALSE(fs::exists(hdd / "Nachrichten.crid"));
    EXPECT_TRUE(fs::exists(hdd / "Filme"));
    EXPECT_TRUE(test.Text("labelSourceFree").startsWith("frei: "));
}

// A name the folder already has is refused before anything is sent; F7's
// new folder is selected once the folder is listed afresh.
TEST_F(TidyWindow, F2RenamesToAFreeNameOnlyAndF7MakesAFolderThatIsSelected) {
    ASSERT_TRUE(test.Select("SourceList", "Leer/"));
    test.Boxes().names = {QStringLiteral("Filme"), QStringLiteral("Leer 2")};
    QTest::keyClick(&list(), Qt::Key_F2);
    EXPECT_EQ(test.Boxes().presets.value(0), QStringLiteral("Leer"));
    EXPECT_EQ(NextBox(1), QStringLiteral("„Filme“ gibt es in diesem Ordner schon."));
    EXPECT_TRUE(fs::exists(hdd / "Leer"));

    QTest::keyClick(&list(), Qt::Key_F2);
    ASSERT_TRUE(test.WaitForCaption("SourceList", QStringLiteral("Leer 2/")));
    EXPECT_TRUE(fs::is_directory(hdd / "Leer 2"));
    EXPECT_FALSE(fs::exists(hdd / "Leer"));

    test.Boxes().names = {QStringLiteral("Neue Aufnahmen ä")};
    QTest::keyClick(&list(), Qt::Key_F7);
    // Busybox's ls shows each byte of the "ä" as "?".
    const QRegularExpression made(QStringLiteral("^Neue Aufnahmen (ä|\\?\\?)/$"));
    ASSERT_TRUE(WaitUntil([&] { return test.Captions("SourceList").indexOf(made) >= 0; }, 10000))
        << test.Captions("SourceList").join(" | ").toStdString();
    EXPECT_TRUE(fs::is_directory(hdd / "Neue Aufnahmen ä"));
    EXPECT_TRUE(WaitUntil([&] {
        return Selected().size() == 1 && made.match(Selected()[0]).hasMatch();
    })) << Selected().join(", ").toStdString();
}

// The menu names each operation with its key; its properties come from
// the box: the exact bytes and the drive's space.
TEST_F(TidyWindow, TheContextMenuOffersThePanesOperationsAndShowsProperties) {
    ASSERT_TRUE(test.Select("SourceList", "Nachrichten.ts"));
    const QRect row = list().visualRect(list().currentIndex());
    QContextMenuEvent click(QContextMenuEvent::Mouse, row.center(),
                            list().viewport()->mapToGlobal(row.center()));
    QApplication::sendEvent(list().viewport(), &click);
    QMenu* menu = test.Window().findChild<QMenu*>(QStringLiteral("PaneMenu"));
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            texts << action->text();
        }
    }
    EXPECT_EQ(texts,
              (QStringList{"Kopieren\tF5", "Verschieben\tF6", "Umbenennen\tF2", "Neuer Ordner\tF7",
                           "Löschen\tEntf", "Eigenschaften\tAlt+Eingabe", "Aktualisieren"}));
    EXPECT_FALSE(menu->findChild<QAction*>(QStringLiteral("actionCopy"))->isEnabled());

    menu->findChild<QAction*>(QStringLiteral("actionProperties"))->trigger();
    menu->close();
    const QString properties = NextBox(0);
    EXPECT_EQ(test.Boxes().shown.back().title, QStringLiteral("Eigenschaften"));
    EXPECT_TRUE(
        properties.startsWith("Name: Nachrichten.ts\nOrt: hdd/\n"
                              "Größe: 524.288 Bytes (512 kB)\nGeändert: "))
        << properties.toStdString();
    EXPECT_TRUE(
        properties.contains(QRegularExpression("\nLaufwerk hdd/: [0-9.,]+ [kMGT]B frei von ")))
        << properties.toStdString();

    // The same from the button, for a folder: its content counted.
    ASSERT_TRUE(test.Select("SourceList", "Filme/"));
    test.Click("tbSourceProperties");
    const QString folder = NextBox(1);
    EXPECT_TRUE(folder.contains("\nInhalt: 7 Dateien, ")) << folder.toStdString();
}

}  // namespace
