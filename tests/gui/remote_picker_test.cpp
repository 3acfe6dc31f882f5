// "Ordner suchen": the box's drives in a tree, listed through the paths under
// which this PC reaches them, against a temporary tree of PC folders.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "desktop/folder_paths.h"
#include "recording_folder_pickers.h"
#include "recording_message_boxes.h"
#include "temp_folder.h"

namespace {

using olmira::test_support::TempFolder;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;
using Picker = TBrowseForRemoteFolder;

QStringList Texts(const QTreeWidgetItem* parent, const QTreeWidget& tree) {
    QStringList texts;
    const int count = parent ? parent->childCount() : tree.topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        texts << (parent ? parent->child(i) : tree.topLevelItem(i))->text(0);
    }
    return texts;
}

std::vector<std::string> StdTexts(const QStringList& texts) {
    std::vector<std::string> result;
    for (const QString& text : texts) {
        result.push_back(text.toStdString());
    }
    return result;
}

int PictureOf(const QTreeWidgetItem* node) {
    return node->data(0, Picker::PictureRole).toInt();
}

bool HasPlaceholderOnly(const QTreeWidgetItem* node) {
    return node->childCount() == 1 && node->child(0)->text(0) == QStringLiteral("y");
}

// A tree of PC folders: pc1 with folders, a hidden one, a file and a link to
// a folder; pc3 named but missing; usb there.
class RemotePicker : public ::testing::Test {
protected:
    RemotePicker() {
        for (const char* folder :
             {"pc1/aufnahmen/neu", "pc1/temp", "pc1/.versteckt", "usb/Filme", "ziel/sub"}) {
            std::filesystem::create_directories(tree_.File(folder));
        }
        tree_.Write("pc1/datei.ts", "x");
        std::filesystem::create_directory_symlink(tree_.File("ziel"), tree_.File("pc1/verweis"));
        settings_.PC1 = tree_.File("pc1");
        settings_.PC3 = tree_.File("pc3");
        settings_.PC5 = tree_.File("ziel") + "/";
        settings_.USB = tree_.File("usb");
    }

    // Runs Execute with answer driving the shown picker.
    bool Execute(Picker& picker, std::function<void(Picker&)> answer) {
        pickers_.remoteAnswer = std::move(answer);
        return picker.Execute();
    }

    QTreeWidgetItem* Node(Picker& picker, const QStringList& names) {
        QTreeWidgetItem* node = nullptr;
        for (const QString& name : names) {
            const int count = node ? node->childCount() : picker.DriveTree().topLevelItemCount();
            QTreeWidgetItem* found = nullptr;
            for (int i = 0; i < count && !found; ++i) {
                QTreeWidgetItem* child = node ? node->child(i) : picker.DriveTree().topLevelItem(i);
                if (child->text(0) == name) {
                    found = child;
                }
            }
            if (!found) {
                ADD_FAILURE() << "no node " << name.toStdString();
                return nullptr;
            }
            picker.DriveTree().expandItem(found);
            node = found;
        }
        return node;
    }

    void Select(Picker& picker, QTreeWidgetItem* node) {
        picker.DriveTree().setCurrentItem(node);
        node->setSelected(true);
    }

    static void Click(Picker& picker, const char* name) {
        QTest::mouseClick(picker.findChild<QPushButton*>(QString::fromUtf8(name)), Qt::LeftButton);
    }

    TempFolder tree_;
    olmira::TSetup settings_;
    RecordingMessageBoxes boxes_;
    RecordingFolderPickers pickers_;
};

TEST_F(RemotePicker, IsAFixedWindowWithItsControls) {
    Picker picker(settings_, boxes_, pickers_, nullptr);
    picker.SetHeaderText(QStringLiteral("Bitte Ordner auswählen..."));
    EXPECT_FALSE(picker.AllowNewFolder());
    Execute(picker, [](Picker& shown) {
        EXPECT_EQ(shown.objectName(), QStringLiteral("BrowseForRemoteFolder"));
        EXPECT_EQ(shown.windowTitle(), QStringLiteral("Ordner suchen"));
        EXPECT_EQ(shown.size(), QSize(338, 310));
        EXPECT_EQ(shown.minimumSize(), shown.maximumSize());
        EXPECT_EQ(shown.findChild<QLabel*>(QStringLiteral("labelHeader"))->text(),
                  QStringLiteral("Bitte Ordner auswählen..."));
        EXPECT_EQ(shown.DriveTree().objectName(), QStringLiteral("DriveTree"));
        EXPECT_EQ(shown.DriveTree().size(), QSize(335, 248));
        EXPECT_EQ(shown.DriveTree().indentation(), 19);
        for (const char* name : {"bNewFolder", "bOk", "bCancel"}) {
            const auto* button = shown.findChild<QPushButton*>(QString::fromUtf8(name));
            ASSERT_NE(button, nullptr) << name;
            EXPECT_EQ(button->size(), QSize(90, 25)) << name;
        }
        EXPECT_EQ(shown.findChild<QPushButton*>(QStringLiteral("bNewFolder"))->text(),
                  QStringLiteral("Neuer Ordner"));
        EXPECT_FALSE(shown.findChild<QPushButton*>(QStringLiteral("bNewFolder"))->isVisible());
        EXPECT_EQ(shown.findChild<QPushButton*>(QStringLiteral("bCancel"))->text(),
                  QStringLiteral("Abbrechen"));
    });
    EXPECT_EQ(pickers_.remotePickersShown, 1);
}

TEST_F(RemotePicker, ShowsOnlyConfiguredDrivesAndTheUsbDiskOnlyWhileItIsThere) {
    Picker picker(settings_, boxes_, pickers_, nullptr);
    Execute(picker, [](Picker& shown) {
        const QStringList drives = Texts(nullptr, shown.DriveTree());
        EXPECT_THAT(StdTexts(drives), ElementsAre("PC1", "PC3", "PC5", "USB"));
        for (int i = 0; i < shown.DriveTree().topLevelItemCount(); ++i) {
            EXPECT_EQ(PictureOf(shown.DriveTree().topLevelItem(i)), Picker::PictureDrive);
            EXPECT_TRUE(HasPlaceholderOnly(shown.DriveTree().topLevelItem(i)));
        }
    });
    std::filesystem::remove_all(tree_.File("usb"));
    Execute(picker, [](Picker& shown) {
        EXPECT_THAT(StdTexts(Texts(nullptr, shown.DriveTree())), ElementsAre("PC1", "PC3", "PC5"));
    });
}

TEST_F(RemotePicker, ExpandingListsTheVisibleFoldersAndOpensTheFolderPicture) {
    Picker picker(settings_, boxes_, pickers_, nullptr);
    Execute(picker, [this](Picker& shown) {
        QTreeWidgetItem* pc1 = Node(shown, {"PC1"});
        EXPECT_THAT(StdTexts(Texts(pc1, shown.DriveTree())),
                    UnorderedElementsAre("aufnahmen", "temp", "verweis"));
        EXPECT_EQ(PictureOf(pc1), Picker::PictureDrive);
        QTreeWidgetItem* aufnahmen = Node(shown, {"PC1", "aufnahmen"});
        EXPECT_EQ(PictureOf(aufnahmen), Picker::PictureOpenedFolder);
        ASSERT_EQ(aufnahmen->childCount(), 1);
        EXPECT_EQ(aufnahmen->child(0)->text(0), QStringLiteral("neu"));
        EXPECT_EQ(PictureOf(aufnahmen->child(0)), Picker::PictureFolder);
        EXPECT_TRUE(HasPlaceholderOnly(aufnahmen->child(0)));
        // Collapsing keeps the picture; a drive given with a trailing "/"
        // lists the same way.
        shown.DriveTree().collapseItem(aufnahmen);
        EXPECT_EQ(PictureOf(aufnahmen), Picker::PictureOpenedFolder);
        EXPECT_THAT(StdTexts(Texts(Node(shown, {"PC5"}), shown.DriveTree())), ElementsAre("sub"));
        EXPECT_EQ(shown.ResolvePath("PC1\\aufnahmen\\"), tree_.File("pc1") + "/aufnahmen/");
    });
}

TEST_F(RemotePicker, EveryExpansionReadsAfreshAndAFolderThatIsGoneLosesItsButton) {
    Picker picker(settings_, boxes_, pickers_, nullptr);
    Execute(picker, [this](Picker& shown) {
        EXPECT_EQ(Node(shown, {"PC3"})->childCount(), 0);

        QTreeWidgetItem* pc1 = Node(shown, {"PC1"});
        shown.DriveTree().collapseItem(pc1);
        std::filesystem::create_directory(tree_.File("pc1/später"));
        std::filesystem::remove_all(tree_.File("pc1/temp"));
        EXPECT_EQ(pc1->childCount(), 3);
        shown.DriveTree().expandItem(pc1);
        EXPECT_THAT(StdTexts(Texts(pc1, shown.DriveTree())),
                    UnorderedElementsAre("aufnahmen", "verweis", "später"));

        QTreeWidgetItem* aufnahmen = Node(shown, {"PC1", "aufnahmen"});
        QTreeWidgetItem* neu = aufnahmen->child(0);
        EXPECT_TRUE(HasPlaceholderOnly(neu));
        std::filesystem::remove_all(tree_.File("pc1/aufnahmen/neu"));
        shown.DriveTree().expandItem(neu);
        EXPECT_EQ(neu->childCount(), 0);
    });
}

TEST_F(RemotePicker, OkNeedsASelectedNodeAndReturnsItsTreePathWhileCancelReturnsNothing) {
    Picker picker(settings_, boxes_, pickers_, nullptr);
    EXPECT_TRUE(Execute(picker, [this](Picker& shown) {
        auto* ok = shown.findChild<QPushButton*>(QStringLiteral("bOk"));
        EXPECT_FALSE(ok->isEnabled());
        Select(shown, Node(shown, {"PC1", "aufnahmen"}));
        EXPECT_TRUE(ok->isEnabled());
        Click(shown, "bOk");
    }));
    EXPECT_EQ(picker.SelectedPath(), "PC1\\aufnahmen\\");

    EXPECT_FALSE(Execute(picker, [this](Picker& shown) {
        Select(shown, Node(shown, {"PC1", "temp"}));
        Click(shown, "bCancel");
    }));
    EXPECT_EQ(picker.SelectedPath(), "");
    EXPECT_FALSE(Execute(picker, [this](Picker& shown) {
        Select(shown, Node(shown, {"PC1"}));
        shown.close();
    }));
    EXPECT_EQ(picker.SelectedPath(), "");
}

TEST_F(RemotePicker, NewFolderCreatesTheNamedFolderAndItsNodeButNothingForNoNameOrDots) {
    Picker picker(settings_, boxes_, pickers_, nullptr);
    picker.SetAllowNewFolder(true);
    Execute(picker, [this](Picker& shown) {
        auto* newFolder = shown.findChild<QPushButton*>(QStringLiteral("bNewFolder"));
        EXPECT_TRUE(newFolder->isVisible());
        EXPECT_FALSE(newFolder->isEnabled());
        QTreeWidgetItem* aufnahmen = Node(shown, {"PC1", "aufnahmen"});
        Select(shown, aufnahmen);
        for (const std::optional<QString>& answer :
             {std::optional<QString>(QString()), std::optional<QString>(QStringLiteral(".")),
              std::optional<QString>(QStringLiteral("..")), std::optional<QString>(),
              std::optional<QString>(QStringLiteral("a/b"))}) {
            pickers_.textAnswer = answer;
            Click(shown, "bNewFolder");
        }
        EXPECT_THAT(StdTexts(Texts(aufnahmen, shown.DriveTree())), ElementsAre("neu", "a_b"));
        EXPECT_EQ(PictureOf(aufnahmen->child(1)), Picker::PictureFolder);
        EXPECT_TRUE(HasPlaceholderOnly(aufnahmen->child(1)));
    });
    EXPECT_THAT(*olmira::ListSubfolders(tree_.File("pc1/aufnahmen")),
                UnorderedElementsAre("neu", "a_b"));
    ASSERT_EQ(pickers_.textQuestions.size(), 5U);
    EXPECT_EQ(pickers_.textQuestions[0].caption, QStringLiteral("Neuer Ordner"));
    EXPECT_EQ(pickers_.textQuestions[0].prompt, QStringLiteral("Name des neuen Ordners"));
    EXPECT_EQ(pickers_.textQuestions[0].text, QStringLiteral("Neuer Ordner"));
    EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(RemotePicker, AFolderThatCannotBeCreatedIsReportedWithItsReasonAndAddsNoNode) {
    tree_.Write("pc1/temp/belegt", "a file of that name");
    Picker picker(settings_, boxes_, pickers_, nullptr);
    picker.SetAllowNewFolder(true);
    pickers_.textAnswer = QStringLiteral("belegt");
    Execute(picker, [this](Picker& shown) {
        QTreeWidgetItem* temp = Node(shown, {"PC1", "temp"});
        Select(shown, temp);
        Click(shown, "bNewFolder");
        EXPECT_EQ(temp->childCount(), 0);
    });
    ASSERT_EQ(boxes_.shown.size(), 1U);
    EXPECT_EQ(boxes_.shown[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes_.shown[0].text,
              QString::fromStdString("Der Ordner " + tree_.File("pc1/temp/belegt") +
                                     " kann nicht angelegt werden: File exists."));
}

}  // namespace
