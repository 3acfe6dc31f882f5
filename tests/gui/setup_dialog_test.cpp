// The setup dialog against a temporary INI file, driven by its controls'
// object names, with the folder pickers and message boxes answered at once.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <array>
#include <filesystem>
#include <map>
#include <memory>

#include "fake_environment.h"
#include "form_setup_dlg.h"
#include "number_field.h"
#include "recording_folder_pickers.h"
#include "recording_message_boxes.h"
#include "temp_folder.h"

namespace {

using olmira::test_support::TempFolder;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

using olmira::test_support::FakeEnvironment;

class SetupDialog : public ::testing::Test {
protected:
    void WriteIniFile(const std::string& text) const { folder_.Write("olmirafm.ini", text); }
    std::string IniFile() const { return folder_.Read("olmirafm.ini"); }

    TformSetupDlg& Open() {
        dialog_ = std::make_unique<TformSetupDlg>(place_, settings_, boxes_, pickers_, nullptr);
        dialog_->ReadIni();
        dialog_->show();
        return *dialog_;
    }

    template <typename Widget>
    Widget& Child(const char* name) const {
        auto* widget = dialog_->findChild<Widget*>(QString::fromUtf8(name));
        if (widget == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return *widget;
    }
    QString Text(const char* name) const { return Child<QLineEdit>(name).text(); }
    void Type(const char* name, const QString& text) const {
        QLineEdit& field = Child<QLineEdit>(name);
        field.clear();
        QTest::keyClicks(&field, text);
    }
    void Click(const char* name) const {
        QTest::mouseClick(&Child<QPushButton>(name), Qt::LeftButton);
    }
    TNumberField& Number(const char* name) const { return Child<TNumberField>(name); }
    void TypeNumber(const char* name, const QString& text) const {
        TNumberField& field = Number(name);
        field.findChild<QLineEdit*>()->clear();
        QTest::keyClicks(&field, text);
    }

    TempFolder folder_;
    olmira::SetupPlace place_{folder_.Path(), folder_.File("olmirafm.ini"),
                              FakeEnvironment({{"TEMP", "/var/tmp"}})};
    olmira::TSetup settings_;
    RecordingMessageBoxes boxes_;
    RecordingFolderPickers pickers_;
    std::unique_ptr<TformSetupDlg> dialog_;
};

TEST_F(SetupDialog, HasFivePagesInGermanWithEveryControlUnderItsName) {
    TformSetupDlg& dialog = Open();
    EXPECT_EQ(dialog.objectName(), QStringLiteral("formSetupDlg"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Setup"));
    EXPECT_EQ(dialog.size(), QSize(449, 272));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());

    // Each page with its caption and its texts from top to bottom.
    const std::array<std::array<const char*, 3>, 5> pages{{
        {"pageNetzlaufwerke", "Netzlaufwerke",
         "Hier bitte die Pfade der Netzlaufwerke und der USB Festplatte so eingeben,|wie sie von "
         "diesem PC aus erreicht werden können (UNC Pfade erlaubt).|PC&1|PC&2|PC&3|PC&4|PC&5|"
         "&USB-HDD|(Pfad zur USB-HDD bei Anschluss an (entfernten) PC)|Bitte auf ausreichend "
         "Schreibe- und Leserechte achten!"},
        {"pageFolders", "Verzeichnisse",
         "Bei einigen Funktionen fallen Temporäre Dateien an. Wo dürfen diese ge-|speichert "
         "werden? Unbedingt ein lokales Verzeichnis angeben!|Für einige Funktionen werden Dateien "
         "von der USB Platte benötigt während|sie an der Olmira angeschlossen ist. Daher wird ein "
         "Transferverzeichnis auf|einem der Netzlaufwerke (PC1-PC5) benötigt, zB PC1/temp|Welches "
         "Verzeichnis (von der Box aus gesehen) wird für Aufnahmen ver-|wendet? (zB "
         "PC1/aufnahmen)"},
        {"pageNetwork", "Netzwerk",
         "Netzwerkname der Box|IP der Box|Login/Benutzername für Telnet|Passwort für Telnet (wird "
         "unverschlüsselt gespeichert und angezeigt!)|Verbindung über|Port"},
        {"pageTransfer", "Transfer",
         "Nur für das Kopieren von Daten via Telnet (USB<=>LAN)|Updateintervall für die "
         "Fortschrittsanzeige in ms (mindestens 1000ms!)|ms|Ab welcher Dateigröße soll die "
         "Fortschrittsanzeige angezeigt werden?|kB"},
        {"pageTools", "Tools",
         "Der Editor kann mit .crid Dateien verknüpft werden, d.h. der Editor würde|sich bei "
         "einem Doppelklick auf eine .crid Datei im Explorer mit eben dieser|CRID Datei öffnen."},
    }};
    const QTabWidget& pageControl = Child<QTabWidget>("PageControl");
    ASSERT_EQ(pageControl.count(), 5);
    for (int i = 0; i < 5; ++i) {
        const auto& [name, caption, texts] = pages[static_cast<std::size_t>(i)];
        EXPECT_EQ(pageControl.widget(i)->objectName(), QString::fromUtf8(name));
        EXPECT_EQ(pageControl.tabText(i), QString::fromUtf8(caption));
        QStringList shown;
        for (const QLabel* label : pageControl.widget(i)->findChildren<QLabel*>()) {
            shown << label->text();
        }
        EXPECT_EQ(shown.join(u'|'), QString::fromUtf8(texts));
    }

    for (const char* name :
         {"ePC1", "ePC2", "ePC3", "ePC4", "ePC5", "eUSB", "eLocalTemp", "eRemoteTemp", "eRecDir",
          "eBoxName", "eBoxIP", "eLogin", "ePassword"}) {
        EXPECT_EQ(Child<QLineEdit>(name).echoMode(), QLineEdit::Normal) << name;
    }
    const char* const drives[] = {"PC1", "PC2", "PC3", "PC4", "PC5", "USB"};
    for (const char* drive : drives) {
        const std::string field = std::string("e") + drive;
        EXPECT_EQ(Child<QLabel>(("label" + std::string(drive)).c_str()).buddy(),
                  &Child<QLineEdit>(field.c_str()));
    }
    const char* const browseButtons[] = {"bBrowsePC1",       "bBrowsePC2",        "bBrowsePC3",
                                         "bBrowsePC4",       "bBrowsePC5",        "bBrowseUSB",
                                         "bBrowseLocalTemp", "bBrowseRemoteTemp", "bBrowseRecDir"};
    for (int tag = 1; tag <= 9; ++tag) {
        const QPushButton& button = Child<QPushButton>(browseButtons[tag - 1]);
        EXPECT_EQ(button.text(), QStringLiteral(".."));
        EXPECT_EQ(button.property("Tag").toInt(), tag);
    }
    Number("eProgressUpdateIntervall");
    Number("eProgressMinValue");

    const std::pair<const char*, const char*> buttons[] = {
        {"bOk", "Ok"}, {"bApply", "Übernehmen"}, {"bCancel", "Abbrechen"}};
    for (const auto& [name, text] : buttons) {
        EXPECT_EQ(Child<QPushButton>(name).text(), QString::fromUtf8(text));
        EXPECT_EQ(Child<QPushButton>(name).size(), QSize(100, 25));
    }
    EXPECT_TRUE(Child<QPushButton>("bApply").isDefault());
    EXPECT_EQ(Child<QWidget>("panelButtons").height(), 29);
    EXPECT_EQ(Child<QPushButton>("bAssociateCrid").text(),
              QStringLiteral(".crid Dateien jetzt mit dem Editor verknüpfen"));
}

TEST_F(SetupDialog, ExecuteWithoutAnIniFileShowsTheDefaultsOnTheFirstPageWithTheCursorInPc1) {
    dialog_ = std::make_unique<TformSetupDlg>(place_, settings_, boxes_, pickers_, nullptr);
    bool seen = false;
    QTimer::singleShot(0, dialog_.get(), [this, &seen] {
        seen = true;
        EXPECT_TRUE(dialog_->isModal() || dialog_->windowModality() != Qt::NonModal);
        EXPECT_EQ(Child<QTabWidget>("PageControl").currentIndex(), 0);
        EXPECT_EQ(dialog_->focusWidget(), &Child<QLineEdit>("ePC1"));
        for (const char* name : {"ePC1", "ePC2", "ePC3", "ePC4", "ePC5", "eUSB", "eRemoteTemp",
                                 "eRecDir", "eBoxName", "eBoxIP", "eLogin", "ePassword"}) {
            EXPECT_EQ(Text(name), QString()) << name;
        }
        EXPECT_EQ(Text("eLocalTemp"), QStringLiteral("/var/tmp/"));
        EXPECT_EQ(Number("eProgressUpdateIntervall").text(), QStringLiteral("5000"));
        EXPECT_EQ(Number("eProgressMinValue").text(), QStringLiteral("6000"));
        Click("bCancel");
    });
    Child<QTabWidget>("PageControl").setCurrentIndex(3);
    dialog_->Execute();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(std::filesystem::exists(folder_.File("olmirafm.ini")));
}

TEST_F(SetupDialog, NumberFieldsKeepTheirBoundsStepsAndFallbacks) {
    WriteIniFile("[Transfer]\r\nupdate_intervall=500\r\nprogress_min_size=-5\r\n");
    TformSetupDlg& dialog = Open();
    TNumberField& intervall = Number("eProgressUpdateIntervall");
    TNumberField& minimum = Number("eProgressMinValue");
    EXPECT_EQ(intervall.text(), QStringLiteral("1000"));
    EXPECT_EQ(minimum.text(), QStringLiteral("-5"));

    // Only digits, signs and the decimal separator are taken.
    TypeNumber("eProgressMinValue", QStringLiteral("a1b2c"));
    EXPECT_EQ(minimum.text(), QStringLiteral("12"));
    minimum.stepBy(1);
    EXPECT_EQ(minimum.Value(), 512);
    minimum.stepBy(-3);
    EXPECT_EQ(minimum.Value(), -988);
    TypeNumber("eProgressMinValue", QStringLiteral("12.5"));
    EXPECT_EQ(minimum.Value(), 0);
    TypeNumber("eProgressMinValue", QString());
    EXPECT_EQ(minimum.Value(), 0);
    TypeNumber("eProgressMinValue", QStringLiteral("99999999999"));
    EXPECT_EQ(minimum.Value(), 0);

    intervall.stepBy(1);
    EXPECT_EQ(intervall.text(), QStringLiteral("1500"));
    intervall.stepBy(-5);
    EXPECT_EQ(intervall.text(), QStringLiteral("1000"));
    intervall.SetValue(1999800);
    intervall.stepBy(1);
    EXPECT_EQ(intervall.text(), QStringLiteral("2000000"));
    TypeNumber("eProgressUpdateIntervall", QString());
    EXPECT_EQ(intervall.Value(), 1000);

    // Leaving the field replaces a number outside the bounds by the nearer
    // one.
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    Child<QTabWidget>("PageControl").setCurrentIndex(3);
    intervall.setFocus();
    TypeNumber("eProgressUpdateIntervall", QStringLiteral("3000000"));
    EXPECT_EQ(intervall.text(), QStringLiteral("3000000"));
    minimum.setFocus();
    EXPECT_EQ(intervall.text(), QStringLiteral("2000000"));
    intervall.setFocus();
    TypeNumber("eProgressUpdateIntervall", QStringLiteral("12"));
    minimum.setFocus();
    EXPECT_EQ(intervall.text(), QStringLiteral("1000"));
}

TEST_F(SetupDialog, OkWritesEveryPagesValueUnderItsKeyAndKeepsEveryOtherLine) {
    WriteIniFile(
        "; Kommentar am Anfang\r\n"
        "[Allgemein]\r\n"
        "PC1=/alt/pc1\r\n"
        "PC2=/alt/pc2\r\n"
        "ffmpeg=C:\\Programme\\ffmpeg\\\r\n"
        "bbMPEG = /opt/bb/ \r\n"
        "epg_mapping=map.txt\r\n"
        "temp=/var/tmp/\r\n"
        "; Kommentar in Allgemein\r\n"
        "\r\n"
        "[Fremd]\r\n"
        "eins = 1\r\n"
        "\r\n"
        "[MPEG]\n"
        "maxSizeTS=1234\n"
        "maxSizePS=0x10\n"
        "[Network]\r\n"
        "olmira_Host=10.0.0.1\r\n"
        "olmira_User=root\r\n"
        "olmira_Pass=Passw\xF6rt\r\n"
        "[Transfer]\r\n"
        "update_intervall=500\r\n"
        "avg_transferrate=777\r\n"
        "progress_min_size=-5\r\n");
    TformSetupDlg& dialog = Open();
    EXPECT_EQ(Text("ePassword"), QStringLiteral("Passwört"));

    Type("ePC1", QStringLiteral("/neu/pc1"));
    Type("ePC2", QString());
    Type("ePC3", QStringLiteral("/neu/pc3"));
    Type("eRemoteTemp", QStringLiteral("PC1/temp"));
    Type("eRecDir", QStringLiteral("PC1/aufnahmen"));
    Type("eBoxName", QStringLiteral("olmira"));
    Type("eBoxIP", QStringLiteral("192.168.0.5"));
    EXPECT_EQ(Child<QSpinBox>("eBoxPort").value(), 23);
    QTest::keyClick(&Child<QComboBox>("cbProtocol"), Qt::Key_Down);
    TypeNumber("eProgressMinValue", QStringLiteral("7000"));
    Click("bOk");

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(boxes_.shown.empty());
    EXPECT_EQ(IniFile(),
              "; Kommentar am Anfang\r\n"
              "[Allgemein]\r\n"
              "PC1=/neu/pc1\r\n"
              "PC2=/alt/pc2\r\n"
              "ffmpeg=C:\\Programme\\ffmpeg\\\r\n"
              "bbMPEG = /opt/bb/ \r\n"
              "epg_mapping=map.txt\r\n"
              "temp=/var/tmp/\r\n"
              "; Kommentar in Allgemein\r\n"
              "PC3=/neu/pc3\r\n"
              "rtemp=PC1/temp\r\n"
              "rec=PC1/aufnahmen\r\n"
              "\r\n"
              "[Fremd]\r\n"
              "eins = 1\r\n"
              "\r\n"
              "[MPEG]\n"
              "maxSizeTS=1234\n"
              "maxSizePS=0x10\n"
              "[Network]\r\n"
              "olmira_host=192.168.0.5\r\n"
              "olmira_user=root\r\n"
              "olmira_pass=Passw\xF6rt\r\n"
              "olmira_name=olmira\r\n"
              "olmira_Protocol=ssh\r\n"
              "olmira_Port=22\r\n"
              "[Transfer]\r\n"
              "update_intervall=1000\r\n"
              "avg_transferrate=777\r\n"
              "progress_min_size=7000\r\n"
              "with_crid=1\r\n"
              "background_jobs=0\r\n");
}

// For a box set up anew: only its own keys go, on the port the page shows.
TEST_F(SetupDialog, ForgettingTheBoxsKeyKeepsTheOtherBoxesKeys) {
    settings_.KnownHostsPath = folder_.File("known_hosts");
    folder_.Write("known_hosts",
                  "192.168.0.5 ssh-ed25519 AAAAalt\n[192.168.0.5]:2222 ssh-ed25519 "
                  "AAAAport\n10.0.0.1 ssh-ed25519 AAAAanders\n");
    WriteIniFile("[Network]\r\nolmira_Host=192.168.0.5\r\nolmira_Protocol=ssh\r\n");
    Open();
    EXPECT_EQ(Child<QSpinBox>("eBoxPort").value(), 22);
    Click("bForgetKey");
    EXPECT_EQ(folder_.Read("known_hosts"),
              "[192.168.0.5]:2222 ssh-ed25519 AAAAport\n10.0.0.1 ssh-ed25519 AAAAanders\n");
    ASSERT_EQ(boxes_.shown.size(), 1u);
    EXPECT_THAT(boxes_.shown.back().text.toStdString(), HasSubstr("vergessen"));
    Click("bForgetKey");
    EXPECT_THAT(boxes_.shown.back().text.toStdString(), HasSubstr("kein Schlüssel gespeichert"));
    // Telnet keeps no keys.
    QTest::keyClick(&Child<QComboBox>("cbProtocol"), Qt::Key_Up);
    EXPECT_FALSE(Child<QPushButton>("bForgetKey").isEnabled());
    EXPECT_EQ(Child<QSpinBox>("eBoxPort").value(), 23);
}

TEST_F(SetupDialog, EnterPressesApplyWhichWritesAndStaysOpenAndCancelKeepsWhatItWrote) {
    WriteIniFile("[Network]\r\nolmira_Host=alt\r\n");
    TformSetupDlg& dialog = Open();
    Type("eBoxIP", QStringLiteral("neu"));
    Type("eUSB", QStringLiteral("/media/usb"));
    QTest::keyClick(&Child<QLineEdit>("eUSB"), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_THAT(IniFile(), HasSubstr("USB=/media/usb\r\n"));
    EXPECT_THAT(IniFile(), HasSubstr("olmira_host=neu\r\n"));

    Type("eBoxIP", QStringLiteral("verworfen"));
    Type("eLogin", QStringLiteral("verworfen"));
    const std::string applied = IniFile();
    Click("bCancel");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(IniFile(), applied);
}

TEST_F(SetupDialog, AnEmptiedHostIsWrittenEmptyAndTheNextOpeningShowsTheSavedValues) {
    WriteIniFile("[Allgemein]\r\nPC2=/alt/pc2\r\n[Network]\r\nolmira_Host=alt\r\n");
    Open();
    Type("ePC2", QString());
    Type("eBoxIP", QString());
    Type("ePassword", QStringLiteral("geheim"));
    TypeNumber("eProgressUpdateIntervall", QString());
    TypeNumber("eProgressMinValue", QString());
    Click("bOk");
    EXPECT_THAT(IniFile(), HasSubstr("PC2=/alt/pc2\r\n"));
    EXPECT_THAT(IniFile(), HasSubstr("olmira_host=\r\n"));
    EXPECT_THAT(IniFile(), HasSubstr("update_intervall=1000\r\nprogress_min_size=0\r\n"));

    Open();
    EXPECT_EQ(Text("ePC2"), QStringLiteral("/alt/pc2"));
    EXPECT_EQ(Text("eBoxIP"), QString());
    EXPECT_EQ(Text("ePassword"), QStringLiteral("geheim"));
}

// The box goes off by the space bar, as a user would; it sits on the
// Transfer page below the last number, clear of the page's lower edge.
TEST_F(SetupDialog, TheCridBoxShowsAndSavesWhetherInfoFilesGoAlong) {
    TformSetupDlg& dialog = Open();
    QTabWidget& pages = Child<QTabWidget>("PageControl");
    pages.setCurrentIndex(3);
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QCheckBox& box = Child<QCheckBox>("cbWithCrid");
    EXPECT_EQ(box.text(), QStringLiteral("Infodateien (.crid) mitnehmen"));
    EXPECT_TRUE(box.isChecked());
    const QWidget& page = Child<QWidget>("pageTransfer");
    EXPECT_EQ(box.parentWidget(), &page);
    EXPECT_TRUE(box.isVisible());
    const QRect below = Number("eProgressMinValue").geometry();
    EXPECT_GT(box.geometry().top(), below.bottom());
    EXPECT_EQ(box.geometry().left(), below.left());
    EXPECT_LE(box.geometry().bottom(), page.rect().bottom());
    EXPECT_GE(box.height(), box.sizeHint().height());

    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_FALSE(box.isChecked());
    Click("bOk");
    EXPECT_THAT(IniFile(), HasSubstr("progress_min_size=6000\r\nwith_crid=0\r\n"));

    Open();
    EXPECT_FALSE(Child<QCheckBox>("cbWithCrid").isChecked());
    Child<QCheckBox>("cbWithCrid").setChecked(true);
    Click("bApply");
    EXPECT_THAT(IniFile(), HasSubstr("with_crid=1\r\n"));
    EXPECT_THAT(IniFile(), Not(HasSubstr("with_crid=0")));

    EXPECT_FALSE(Child<QCheckBox>("cbBackgroundJobs").isChecked());
    Child<QCheckBox>("cbBackgroundJobs").setChecked(true);
    Click("bApply");
    EXPECT_THAT(IniFile(), HasSubstr("background_jobs=1\r\n"));
}

TEST_F(SetupDialog, AFailedWriteKeepsTheDialogOpenWithEverythingTyped) {
    std::filesystem::create_directory(folder_.File("olmirafm.ini"));
    TformSetupDlg& dialog = Open();
    Type("eBoxIP", QStringLiteral("192.168.0.5"));
    Click("bOk");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Text("eBoxIP"), QStringLiteral("192.168.0.5"));
    ASSERT_EQ(boxes_.shown.size(), 1U);
    EXPECT_EQ(boxes_.shown[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes_.shown[0].title, QStringLiteral("Olmira Remote File Manager"));
    EXPECT_EQ(boxes_.shown[0].text, QString::fromStdString("nach " + folder_.File("olmirafm.ini") +
                                                           " kann nicht geschrieben werden."));
}

TEST_F(SetupDialog, TheLocalPickersOpenAtTheFieldsFolderAndFillItWithTheChoice) {
    Open();
    Type("ePC1", QStringLiteral("/home/user/Filme"));
    pickers_.folderAnswer = QStringLiteral("/srv/box/pc1/");
    Click("bBrowsePC1");
    ASSERT_EQ(pickers_.folderRequests.size(), 1U);
    const FolderDialogRequest& request = pickers_.folderRequests[0];
    EXPECT_EQ(request.title, QStringLiteral("Bitte Ordner auswählen..."));
    EXPECT_EQ(request.initialFolder, QStringLiteral("/home/user/Filme/"));
    EXPECT_EQ(request.root, QStringLiteral("/"));
    EXPECT_FALSE(request.includeFiles);
    EXPECT_FALSE(request.newDialogStyle);
    EXPECT_FALSE(request.resolveLinks);
    EXPECT_EQ(Text("ePC1"), QStringLiteral("/srv/box/pc1"));

    pickers_.folderAnswer = QStringLiteral("/var/tmp");
    Click("bBrowseLocalTemp");
    EXPECT_TRUE(pickers_.folderRequests.back().newDialogStyle);
    EXPECT_EQ(pickers_.folderRequests.back().initialFolder, QStringLiteral("/var/tmp/"));
    EXPECT_EQ(Text("eLocalTemp"), QStringLiteral("/var/tmp"));

    // Cancelled: the field keeps its text.
    pickers_.folderAnswer.reset();
    Click("bBrowsePC1");
    EXPECT_EQ(Text("ePC1"), QStringLiteral("/srv/box/pc1"));
    EXPECT_EQ(pickers_.folderRequests.back().initialFolder, QStringLiteral("/srv/box/pc1/"));
    EXPECT_EQ(pickers_.remotePickersShown, 0);
}

TEST_F(SetupDialog, TheRemotePickersListTheStartUpDrivesAndFillTheBoxFolders) {
    std::filesystem::create_directories(folder_.File("pc1/temp"));
    std::filesystem::create_directories(folder_.File("pc1/aufnahmen"));
    settings_.PC1 = folder_.File("pc1");
    // A path typed in the dialog but not yet loaded is not listed.
    WriteIniFile("[Allgemein]\r\nPC2=" + folder_.Path() + "\r\n");
    Open();

    const auto choose = [](const QString& folder) {
        return [folder](TBrowseForRemoteFolder& picker) {
            QTreeWidget& tree = picker.DriveTree();
            ASSERT_EQ(tree.topLevelItemCount(), 1);
            QTreeWidgetItem* pc1 = tree.topLevelItem(0);
            tree.expandItem(pc1);
            for (int i = 0; i < pc1->childCount(); ++i) {
                if (pc1->child(i)->text(0) == folder) {
                    tree.setCurrentItem(pc1->child(i));
                }
            }
            QTest::mouseClick(picker.findChild<QPushButton*>(QStringLiteral("bOk")),
                              Qt::LeftButton);
        };
    };
    bool allowedNewFolder = false;
    pickers_.remoteAnswer = [&](TBrowseForRemoteFolder& picker) {
        allowedNewFolder = picker.AllowNewFolder();
        EXPECT_EQ(picker.HeaderText(), QStringLiteral("Bitte Ordner auswählen..."));
        choose(QStringLiteral("temp"))(picker);
    };
    Click("bBrowseRemoteTemp");
    EXPECT_TRUE(allowedNewFolder);
    EXPECT_EQ(Text("eRemoteTemp"), QStringLiteral("PC1/temp"));

    pickers_.remoteAnswer = [&](TBrowseForRemoteFolder& picker) {
        allowedNewFolder = picker.AllowNewFolder();
        choose(QStringLiteral("aufnahmen"))(picker);
    };
    Click("bBrowseRecDir");
    EXPECT_FALSE(allowedNewFolder);
    EXPECT_EQ(Text("eRecDir"), QStringLiteral("PC1/aufnahmen"));

    pickers_.remoteAnswer = [](TBrowseForRemoteFolder& picker) {
        QTest::mouseClick(picker.findChild<QPushButton*>(QStringLiteral("bCancel")),
                          Qt::LeftButton);
    };
    Click("bBrowseRecDir");
    EXPECT_EQ(Text("eRecDir"), QStringLiteral("PC1/aufnahmen"));
    EXPECT_EQ(pickers_.remotePickersShown, 3);
    EXPECT_TRUE(pickers_.folderRequests.empty());
}

TEST_F(SetupDialog, TheAssociateButtonMakesCridFilesOpenInTheEditor) {
    TempFolder home;
    place_.Environment = FakeEnvironment({{"XDG_DATA_HOME", home.File("data")},
                                          {"XDG_CONFIG_HOME", home.File("config")},
                                          {"HOME", home.Path()}});
    Open();
    Click("bAssociateCrid");
    EXPECT_TRUE(boxes_.shown.empty());
    EXPECT_EQ(home.Read("config/mimeapps.list"),
              "[Default Applications]\napplication/x-olmira-crid=olmirafm-pelvar.desktop\n");
    EXPECT_TRUE(std::filesystem::exists(home.File("data/mime/packages/olmirafm-crid.xml")));
    EXPECT_THAT(home.Read("data/applications/olmirafm-pelvar.desktop"),
                HasSubstr("Exec=\"" + folder_.Path() + "/pelvar\" edit %f\n"));
}

TEST_F(SetupDialog, AnAssociationThatCannotBeWrittenIsReported) {
    TempFolder home;
    home.Write("data", "a file where the folder should be");
    place_.Environment = FakeEnvironment(
        {{"XDG_DATA_HOME", home.File("data")}, {"XDG_CONFIG_HOME", home.File("config")}});
    TformSetupDlg& dialog = Open();
    Click("bAssociateCrid");
    ASSERT_EQ(boxes_.shown.size(), 1U);
    EXPECT_EQ(boxes_.shown[0].text,
              QString::fromStdString("Erzeugung von Schlüssel " + home.File("data") +
                                     "/mime/packages/ misslungen."));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(std::filesystem::exists(home.File("config")));
}

}  // namespace
