// Selecting several entries in the panes' lists, what the status bar says
// about it, and which pane F5 and F6 take their entries from.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QShortcut>
#include <tuple>
#include <vector>

#include "make_entries.h"
#include "window_under_test.h"

namespace {

using olmira::Destination;
using olmira::EntryKind;
using olmira::Pane;
using olmira::Source;
using olmira::TransferMode;

// Both panes enabled and listed, the window active, as after a connect.
class Selection : public testing::Test {
protected:
    void SetUp() override {
        TformMain& window = test.Window();
        for (const Pane pane : {Source, Destination}) {
            window.SetPaneEnabled(pane, true);
            window.SetEntries(pane, olmira::test_support::MakeEntries({
                                        {"./", EntryKind::ThisFolder, ""},
                                        {"../", EntryKind::ParentFolder, ""},
                                        {"Filme/", EntryKind::Folder, ""},
                                        {"a.ts", EntryKind::File, "100"},
                                        {"b.ts", EntryKind::File, "2000"},
                                        {"c.ts", EntryKind::File, "307204"},
                                    }));
        }
        window.SetCopyEnabled(true);
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    EntryListView& List(const char* name) { return test.Child<EntryListView>(name); }

    void Focus(const char* name) {
        QWidget& control = test.Child<QWidget>(name);
        control.setFocus();
        ASSERT_TRUE(WaitUntil([&] { return control.hasFocus(); })) << name;
    }

    void Click(const char* list, const char* caption, Qt::KeyboardModifiers keys = {}) {
        EntryListView& view = List(list);
        const int row = static_cast<int>(test.Captions(list).indexOf(QString::fromUtf8(caption)));
        ASSERT_GE(row, 0) << caption;
        const QPoint where = view.visualRect(view.model()->index(row, 0)).center();
        QTest::mouseClick(view.viewport(), Qt::LeftButton, keys, where);
    }

    void Key(const char* list, Qt::Key key, Qt::KeyboardModifiers keys = {}) {
        QTest::keyClick(&List(list), key, keys);
    }

    QStringList Selected(Pane pane) {
        QStringList captions;
        for (const olmira::ListEntry& entry : test.Window().SelectedEntries(pane)) {
            captions << QString::fromStdString(entry.caption);
        }
        return captions;
    }

    QString Current(Pane pane) {
        const std::optional<olmira::ListEntry> entry = test.Window().SelectedEntry(pane);
        return entry ? QString::fromStdString(entry->caption) : QString();
    }

    WindowUnderTest test{WindowUnderTest::BoxIni()};
};

TEST_F(Selection, MouseAndKeysSelectSeveralEntriesButNeverTheFolderEntries) {
    Focus("SourceList");
    // The mouse: Ctrl adds, Shift spans; the result is in list order.
    Click("SourceList", "c.ts");
    Click("SourceList", "a.ts", Qt::ControlModifier);
    EXPECT_EQ(Selected(Source), (QStringList{"a.ts", "c.ts"}));
    EXPECT_EQ(Current(Source), "a.ts");
    Click("SourceList", "c.ts", Qt::ControlModifier);
    EXPECT_EQ(Selected(Source), (QStringList{"a.ts"}));
    EXPECT_EQ(Current(Source), "c.ts");
    Click("SourceList", "b.ts");
    Click("SourceList", "./", Qt::ShiftModifier);
    EXPECT_EQ(Selected(Source), (QStringList{"Filme/", "a.ts", "b.ts"}));
    EXPECT_EQ(Current(Source), "./");
    Click("SourceList", "../");
    EXPECT_TRUE(Selected(Source).isEmpty());
    EXPECT_EQ(Current(Source), "../");
    Click("SourceList", "./", Qt::ControlModifier);
    EXPECT_TRUE(Selected(Source).isEmpty());

    // Shift and the arrows span from the current entry.
    for (int i = 0; i < 3; ++i) {
        Key("SourceList", Qt::Key_Down, Qt::ShiftModifier);
    }
    EXPECT_EQ(Selected(Source), (QStringList{"Filme/", "a.ts"}));
    EXPECT_EQ(Current(Source), "a.ts");

    Key("SourceList", Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Selected(Source), (QStringList{"Filme/", "a.ts", "b.ts", "c.ts"}));

    // Insert toggles the current entry and steps down, but passes over "./"
    // and "../"; at the end of the list it stays on the last entry.
    Click("SourceList", "./");
    EXPECT_TRUE(Selected(Source).isEmpty());
    for (int i = 0; i < 4; ++i) {
        Key("SourceList", Qt::Key_Insert);
    }
    EXPECT_EQ(Selected(Source), (QStringList{"Filme/", "a.ts"}));
    EXPECT_EQ(Current(Source), "b.ts");
    Key("SourceList", Qt::Key_Up, Qt::ControlModifier);
    Key("SourceList", Qt::Key_Insert);
    EXPECT_EQ(Selected(Source), (QStringList{"Filme/"}));
    EXPECT_EQ(Current(Source), "b.ts");
    Key("SourceList", Qt::Key_Insert);
    Key("SourceList", Qt::Key_Insert);
    Key("SourceList", Qt::Key_Insert);
    EXPECT_EQ(Selected(Source), (QStringList{"Filme/", "b.ts"}));
    EXPECT_EQ(Current(Source), "c.ts");

    // The other pane's selection is its own; a new listing drops it.
    EXPECT_TRUE(Selected(Destination).isEmpty());
    test.Window().SetEntries(
        Source, olmira::test_support::MakeEntries(
                    {{"./", EntryKind::ThisFolder, ""}, {"b.ts", EntryKind::File, "2000"}}));
    EXPECT_TRUE(Selected(Source).isEmpty());
}

TEST_F(Selection, TheStatusBarCountsTheActivePanesSelectionAndItsKilobytes) {
    test.Window().SetStatusText("Bereit...");
    EXPECT_EQ(test.Text("labelSelection"), QString());
    Focus("SourceList");
    Click("SourceList", "c.ts");
    EXPECT_EQ(test.Text("labelSelection"), QStringLiteral("1 Eintrag ausgewählt, 307.204 kB"));
    Click("SourceList", "Filme/", Qt::ShiftModifier);
    EXPECT_EQ(test.Text("labelSelection"), QStringLiteral("4 Einträge ausgewählt, 309.304 kB"));
    Click("SourceList", "Filme/");
    EXPECT_EQ(test.Text("labelSelection"), QStringLiteral("1 Eintrag ausgewählt, 0 kB"));

    // The destination pane has nothing selected until it is clicked in.
    Focus("DestList");
    EXPECT_EQ(test.Text("labelSelection"), QString());
    Click("DestList", "a.ts");
    EXPECT_EQ(test.Text("labelSelection"), QStringLiteral("1 Eintrag ausgewählt, 100 kB"));
    Focus("cbSourceMedia");
    EXPECT_EQ(test.Text("labelSelection"), QStringLiteral("1 Eintrag ausgewählt, 0 kB"));

    test.Window().SetEntries(
        Source, olmira::test_support::MakeEntries({{"groß.ts", EntryKind::File, "1234567"}}));
    EXPECT_EQ(test.Text("labelSelection"), QString());
    Focus("SourceList");
    Key("SourceList", Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(test.Text("labelSelection"), QStringLiteral("1 Eintrag ausgewählt, 1.234.567 kB"));
    test.Window().ClearEntryList(Source);
    EXPECT_EQ(test.Text("labelSelection"), QString());
    EXPECT_EQ(test.Text("StatusText"), QStringLiteral("Bereit..."));
}

class JobKeys : public Selection {
protected:
    void SetUp() override {
        Selection::SetUp();
        QObject::connect(&test.Window(), &TformMain::jobRequested,
                         [this](TransferMode mode, Pane from) { jobs.emplace_back(mode, from); });
    }

    bool KeysEnabled() {
        const bool copy = test.Child<QShortcut>("CopyShortcut").isEnabled();
        EXPECT_EQ(test.Child<QShortcut>("MoveShortcut").isEnabled(), copy);
        EXPECT_EQ(test.Enabled("ToolButton4"), test.Enabled("tbCopyFile"));
        return copy;
    }

    void Press(Qt::Key key) { QTest::keyClick(&test.Window(), key); }

    std::vector<std::tuple<TransferMode, Pane>> jobs;
};

TEST_F(JobKeys, F5AndF6TakeThePaneThatHadTheFocusLast) {
    EXPECT_EQ(test.Window().ActivePane(), Source);
    Focus("DestList");
    EXPECT_EQ(test.Window().ActivePane(), Destination);
    Press(Qt::Key_F6);
    Click("DestList", "a.ts");
    Click("DestList", "c.ts", Qt::ControlModifier);
    Press(Qt::Key_F6);
    Press(Qt::Key_F5);
    EXPECT_EQ(Selected(Destination), (QStringList{"a.ts", "c.ts"}));

    // The main tool bar leaves the active pane as it was; any control of the
    // other pane makes it active.
    Focus("tbConnect");
    Press(Qt::Key_F6);
    Focus("cbSourceMedia");
    EXPECT_EQ(test.Window().ActivePane(), Source);
    Press(Qt::Key_F6);
    // The move button always moves left to right.
    Focus("DestList");
    test.Click("ToolButton4");
    using J = std::tuple<TransferMode, Pane>;
    EXPECT_EQ(jobs, (std::vector<J>{
                        J{TransferMode::Move, Destination}, J{TransferMode::Move, Destination},
                        J{TransferMode::Copy, Destination}, J{TransferMode::Move, Destination},
                        J{TransferMode::Move, Source}, J{TransferMode::Move, Source}}));
}

TEST_F(JobKeys, WorkOnlyWhileTheCopyButtonCouldBeClicked) {
    EXPECT_TRUE(KeysEnabled());
    Focus("DestList");
    test.Window().SetMainPanelEnabled(false);
    EXPECT_FALSE(KeysEnabled());
    Press(Qt::Key_F5);
    Press(Qt::Key_F6);
    test.Window().SetMainPanelEnabled(true);
    EXPECT_TRUE(KeysEnabled());
    test.Window().SetCopyEnabled(false);
    EXPECT_FALSE(KeysEnabled());
    EXPECT_FALSE(test.Enabled("ToolButton4"));
    Press(Qt::Key_F6);
    test.Window().SetCopyEnabled(true);
    test.Window().SetPaneEnabled(Source, false);
    EXPECT_FALSE(KeysEnabled());
    Press(Qt::Key_F6);
    EXPECT_TRUE(jobs.empty());
    test.Window().SetPaneEnabled(Source, true);
    EXPECT_TRUE(KeysEnabled());
    Focus("DestList");
    Press(Qt::Key_F6);
    EXPECT_EQ(jobs.size(), 1u);
}

// The pane the keys act on is plain at a glance: its folder label is bold,
// the other pane's selection grey.
TEST_F(Selection, TheActivePaneIsMarked) {
    const auto marked = [this](const char* label, const char* list) {
        return test.Child<QLabel>(label).font().bold() &&
               List(list).palette().color(QPalette::Highlight) ==
                   QApplication::palette(&List(list)).color(QPalette::Highlight);
    };
    Focus("DestList");
    EXPECT_TRUE(marked("labelDestFolder", "DestList"));
    EXPECT_FALSE(marked("labelSourceFolder", "SourceList"));
    Focus("SourceList");
    EXPECT_TRUE(marked("labelSourceFolder", "SourceList"));
    EXPECT_FALSE(marked("labelDestFolder", "DestList"));
    EXPECT_NE(List("DestList").palette().color(QPalette::Highlight),
              List("SourceList").palette().color(QPalette::Highlight));
}

}  // namespace
