#include "form_setup_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "browse_for_remote_folder.h"
#include "connection_fields.h"
#include "desktop/crid_association.h"
#include "desktop/folder_paths.h"
#include "folder_browser.h"
#include "folder_pickers.h"
#include "number_field.h"
#include "preferred_font.h"
#include "text_codec.h"

namespace {

constexpr QSize kClientSize(449, 272);
constexpr int kButtonPanelHeight = 29;
constexpr QSize kButtonSize(100, 25);
constexpr QSize kBrowseButtonSize(23, 21);
constexpr int kIntervallLowest = 1000;
constexpr int kIntervallHighest = 2000000;
constexpr int kArrowStep = 500;
constexpr int kFirstRemoteTag = 8;
constexpr int kNewStyleTag = 7;
const char* const kPickerTitle = "Bitte Ordner auswählen...";

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

QLabel* AddText(QLayout& layout, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text));
    layout.addWidget(label);
    return label;
}

QVBoxLayout* PageLayout(QWidget& page) {
    auto* layout = new QVBoxLayout(&page);
    layout->setContentsMargins(8, 6, 8, 4);
    layout->setSpacing(1);
    return layout;
}

QString ToQString(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace

TformSetupDlg::TformSetupDlg(olmira::SetupPlace place, const olmira::TSetup& settings,
                             MessageBoxes& boxes, FolderPickers& pickers, QWidget* owner)
    : QDialog(owner),
      place_(std::move(place)),
      settings_(settings),
      boxes_(boxes),
      pickers_(pickers),
      guard_(boxes, *this) {
    setObjectName(QStringLiteral("formSetupDlg"));
    setWindowTitle(QStringLiteral("Setup"));
    setFont(PreferredFont(QStringLiteral("Verdana"), 8));
    setFixedSize(kClientSize);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    pageControl_ = Named(new QTabWidget(this), "PageControl");
    layout->addWidget(pageControl_, 1);
    BuildDrivesPage();
    BuildFoldersPage();
    BuildNetworkPage();
    BuildTransferPage();
    BuildToolsPage();
    BuildButtons(*layout);
}

TformSetupDlg::~TformSetupDlg() = default;

QWidget* TformSetupDlg::AddPage(const char* name, const QString& caption) {
    auto* page = Named(new QWidget(pageControl_), name);
    pageControl_->addTab(page, caption);
    return page;
}

QHBoxLayout* TformSetupDlg::BrowsedFieldRow(const char* fieldName, const char* buttonName,
                                            int tag) {
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    auto* field = Named(new QLineEdit, fieldName);
    auto* button = Named(new QPushButton(QStringLiteral("..")), buttonName);
    button->setFixedSize(kBrowseButtonSize);
    button->setAutoDefault(false);
    button->setProperty("Tag", tag);
    connect(button, &QPushButton::clicked, this, [this, tag] { BrowseForFolder(tag); });
    row->addWidget(field);
    row->addWidget(button);
    browsedFields_[static_cast<std::size_t>(tag - 1)] = field;
    return row;
}

QLineEdit* TformSetupDlg::AddBrowsedField(QVBoxLayout& layout, const char* fieldName,
                                          const char* buttonName, int tag) {
    layout.addLayout(BrowsedFieldRow(fieldName, buttonName, tag));
    return browsedFields_[static_cast<std::size_t>(tag - 1)];
}

void TformSetupDlg::BuildDrivesPage() {
    QWidget* page = AddPage("pageNetzlaufwerke", QStringLiteral("Netzlaufwerke"));
    QVBoxLayout* layout = PageLayout(*page);
    AddText(*layout, "Hier bitte die Pfade der Netzlaufwerke und der USB Festplatte so eingeben,");
    AddText(*layout, "wie sie von diesem PC aus erreicht werden können (UNC Pfade erlaubt).");
    layout->addSpacing(3);

    struct Row {
        const char* caption;
        const char* label;
        const char* field;
        const char* button;
        std::string olmira::TSetup::*setting;
    };
    const Row rows[] = {
        {"PC&1", "labelPC1", "ePC1", "bBrowsePC1", &olmira::TSetup::PC1},
        {"PC&2", "labelPC2", "ePC2", "bBrowsePC2", &olmira::TSetup::PC2},
        {"PC&3", "labelPC3", "ePC3", "bBrowsePC3", &olmira::TSetup::PC3},
        {"PC&4", "labelPC4", "ePC4", "bBrowsePC4", &olmira::TSetup::PC4},
        {"PC&5", "labelPC5", "ePC5", "bBrowsePC5", &olmira::TSetup::PC5},
        {"&USB-HDD", "labelUSB", "eUSB", "bBrowseUSB", &olmira::TSetup::USB},
    };
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(1);
    int tag = 1;
    for (const Row& row : rows) {
        auto* label = Named(new QLabel(QString::fromUtf8(row.caption)), row.label);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(label, tag - 1, 0);
        grid->addLayout(BrowsedFieldRow(row.field, row.button, tag), tag - 1, 1);
        QLineEdit* field = browsedFields_[static_cast<std::size_t>(tag - 1)];
        label->setBuddy(field);
        textFields_.emplace_back(field, row.setting);
        ++tag;
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    ePC1_ = browsedFields_[0];

    QLabel* note = AddText(*layout, "(Pfad zur USB-HDD bei Anschluss an (entfernten) PC)");
    QFont smaller = note->font();
    smaller.setPointSize(7);
    note->setFont(smaller);
    note->setAlignment(Qt::AlignRight);
    layout->addStretch(1);
    AddText(*layout, "Bitte auf ausreichend Schreibe- und Leserechte achten!");
}

void TformSetupDlg::BuildFoldersPage() {
    QWidget* page = AddPage("pageFolders", QStringLiteral("Verzeichnisse"));
    QVBoxLayout* layout = PageLayout(*page);
    AddText(*layout, "Bei einigen Funktionen fallen Temporäre Dateien an. Wo dürfen diese ge-");
    AddText(*layout, "speichert werden? Unbedingt ein lokales Verzeichnis angeben!");
    textFields_.emplace_back(AddBrowsedField(*layout, "eLocalTemp", "bBrowseLocalTemp", 7),
                             &olmira::TSetup::temp);
    layout->addSpacing(6);
    AddText(*layout, "Für einige Funktionen werden Dateien von der USB Platte benötigt während");
    AddText(*layout, "sie an der Olmira angeschlossen ist. Daher wird ein Transferverzeichnis auf");
    AddText(*layout, "einem der Netzlaufwerke (PC1-PC5) benötigt, zB PC1/temp");
    textFields_.emplace_back(AddBrowsedField(*layout, "eRemoteTemp", "bBrowseRemoteTemp", 8),
                             &olmira::TSetup::rtemp);
    layout->addSpacing(6);
    AddText(*layout, "Welches Verzeichnis (von der Box aus gesehen) wird für Aufnahmen ver-");
    AddText(*layout, "wendet? (zB PC1/aufnahmen)");
    textFields_.emplace_back(AddBrowsedField(*layout, "eRecDir", "bBrowseRecDir", 9),
                             &olmira::TSetup::rec);
    layout->addStretch(1);
}

void TformSetupDlg::BuildNetworkPage() {
    QWidget* page = AddPage("pageNetwork", QStringLiteral("Netzwerk"));
    QVBoxLayout* layout = PageLayout(*page);
    const std::tuple<const char*, const char*, std::string olmira::TSetup::*> fields[] = {
        {"Netzwerkname der Box", "eBoxName", &olmira::TSetup::olmira_name},
        {"IP der Box", "eBoxIP", &olmira::TSetup::olmira_Host},
        {"Login/Benutzername für Telnet", "eLogin", &olmira::TSetup::olmira_User},
        {"Passwort für Telnet (wird unverschlüsselt gespeichert und angezeigt!)", "ePassword",
         &olmira::TSetup::olmira_Pass},
    };
    bool first = true;
    for (const auto& [caption, name, setting] : fields) {
        if (!first) {
            layout->addSpacing(6);
        }
        first = false;
        QLabel* label = AddText(*layout, caption);
        auto* field = Named(new QLineEdit, name);
        label->setBuddy(field);
        layout->addWidget(field);
        textFields_.emplace_back(field, setting);
    }
    layout->addSpacing(6);
    QLineEdit* host = textFields_.back().first;
    for (const auto& [field, setting] : textFields_) {
        if (setting == &olmira::TSetup::olmira_Host) {
            host = field;
        }
    }
    connection_ =
        std::make_unique<ConnectionFields>(*page, *layout, boxes_, settings_.KnownHostsPath,
                                           [host] { return host->text().trimmed().toStdString(); });
    layout->addStretch(1);
}

void TformSetupDlg::BuildTransferPage() {
    QWidget* page = AddPage("pageTransfer", QStringLiteral("Transfer"));
    QVBoxLayout* layout = PageLayout(*page);
    AddText(*layout, "Nur für das Kopieren von Daten via Telnet (USB<=>LAN)");
    layout->addSpacing(10);

    const auto addNumber = [this, layout](const char* caption, const char* name,
                                          TNumberField* field, const char* unit) {
        QLabel* label = AddText(*layout, caption);
        Named(field, name);
        field->setFixedWidth(110);
        label->setBuddy(field);
        auto* row = new QHBoxLayout;
        row->setSpacing(4);
        row->addWidget(field);
        row->addWidget(new QLabel(QString::fromUtf8(unit)));
        row->addStretch(1);
        layout->addLayout(row);
    };
    eProgressUpdateIntervall_ =
        new TNumberField(TNumberField::Bounds{kIntervallLowest, kIntervallHighest}, kArrowStep,
                         kIntervallLowest, this);
    addNumber("Updateintervall für die Fortschrittsanzeige in ms (mindestens 1000ms!)",
              "eProgressUpdateIntervall", eProgressUpdateIntervall_, "ms");
    layout->addSpacing(6);
    eProgressMinValue_ = new TNumberField(std::nullopt, kArrowStep, 0, this);
    addNumber("Ab welcher Dateigröße soll die Fortschrittsanzeige angezeigt werden?",
              "eProgressMinValue", eProgressMinValue_, "kB");
    layout->addSpacing(10);
    cbWithCrid_ =
        Named(new QCheckBox(QStringLiteral("Infodateien (.crid) mitnehmen"), page), "cbWithCrid");
    layout->addWidget(cbWithCrid_);
    cbBackgroundJobs_ =
        Named(new QCheckBox(QStringLiteral("Aufträge im Hintergrund ausführen"), page),
              "cbBackgroundJobs");
    layout->addWidget(cbBackgroundJobs_);
    layout->addStretch(1);
}

void TformSetupDlg::BuildToolsPage() {
    QWidget* page = AddPage("pageTools", QStringLiteral("Tools"));
    QVBoxLayout* layout = PageLayout(*page);
    AddText(*layout, "Der Editor kann mit .crid Dateien verknüpft werden, d.h. der Editor würde");
    AddText(*layout, "sich bei einem Doppelklick auf eine .crid Datei im Explorer mit eben dieser");
    AddText(*layout, "CRID Datei öffnen.");
    layout->addSpacing(10);
    auto* associate =
        Named(new QPushButton(QStringLiteral(".crid Dateien jetzt mit dem Editor verknüpfen")),
              "bAssociateCrid");
    associate->setAutoDefault(false);
    associate->setMinimumHeight(kButtonSize.height());
    connect(associate, &QPushButton::clicked, this, &TformSetupDlg::RegisterCridFileType);
    layout->addWidget(associate);
    layout->addStretch(1);
}

void TformSetupDlg::BuildButtons(QVBoxLayout& layout) {
    auto* panel = Named(new QWidget(this), "panelButtons");
    panel->setFixedHeight(kButtonPanelHeight);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(6);
    row->addStretch(1);
    const auto addButton = [panel, row](const char* name, const QString& text) {
        auto* button = Named(new QPushButton(text, panel), name);
        button->setFixedSize(kButtonSize);
        row->addWidget(button);
        return button;
    };
    QPushButton* ok = addButton("bOk", QStringLiteral("Ok"));
    QPushButton* apply = addButton("bApply", QStringLiteral("Übernehmen"));
    QPushButton* cancel = addButton("bCancel", QStringLiteral("Abbrechen"));
    // Enter presses "Übernehmen" unless another of the three has the focus.
    apply->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TformSetupDlg::bOkClick);
    connect(apply, &QPushButton::clicked, this, &TformSetupDlg::bApplyClick);
    connect(cancel, &QPushButton::clicked, this, &TformSetupDlg::bCancelClick);
    layout.addWidget(panel);
}

void TformSetupDlg::Execute() {
    ReadIni();
    pageControl_->setCurrentIndex(0);
    ePC1_->setFocus();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    exec();
}

// An EPG mapping file that cannot be read was reported at start-up; the
// dialog shows nothing of it.
void TformSetupDlg::ReadIni() {
    setup_ = olmira::TSetup{};
    (void)olmira::ReadIni(place_, setup_);
    for (const auto& [field, setting] : textFields_) {
        field->setText(DecodeText(setup_.*setting));
    }
    eProgressUpdateIntervall_->SetValue(setup_.update_intervall);
    eProgressMinValue_->SetValue(setup_.progress_min_size);
    cbWithCrid_->setChecked(setup_.with_crid);
    cbBackgroundJobs_->setChecked(setup_.background_jobs);
    connection_->Show(setup_);
}

std::string TformSetupDlg::FieldBytes(const QString& text, const std::string& read) {
    return text == DecodeText(read) ? read : text.toStdString();
}

void TformSetupDlg::WriteIni() {
    olmira::TSetup values = setup_;
    for (const auto& [field, setting] : textFields_) {
        values.*setting = FieldBytes(field->text(), setup_.*setting);
    }
    values.update_intervall = eProgressUpdateIntervall_->Value();
    values.progress_min_size = eProgressMinValue_->Value();
    values.with_crid = cbWithCrid_->isChecked();
    values.background_jobs = cbBackgroundJobs_->isChecked();
    connection_->Store(values);
    olmira::WriteIni(place_.IniPath, values);
    setup_ = std::move(values);
}

// A failed write keeps the dialog open with everything typed in it.
void TformSetupDlg::bOkClick() {
    guard_.Run([this] {
        WriteIni();
        accept();
    });
}

void TformSetupDlg::bApplyClick() {
    guard_.Run([this] { WriteIni(); });
}

void TformSetupDlg::bCancelClick() {
    reject();
}

// The folder dialog gets this dialog as its owner, so that it stays in front
// of it.
void TformSetupDlg::BrowseForFolder(int tag) {
    if (tag < 1 || tag > static_cast<int>(browsedFields_.size())) {
        return;
    }
    guard_.Run([this, tag] {
        QLineEdit& field = *browsedFields_[static_cast<std::size_t>(tag - 1)];
        const QString title = QString::fromUtf8(kPickerTitle);
        if (tag < kFirstRemoteTag) {
            const std::string start = olmira::StartFolder(field.text().toStdString());
            TFolderBrowser browser(pickers_, this, title, ToQString(start), false,
                                   tag == kNewStyleTag);
            browser.SetRoot(TFolderBrowser::SpecialFolder::Desktop);
            if (browser.Execute()) {
                field.setText(ToQString(olmira::ToLocalPath(browser.Folder().toStdString())));
            }
            return;
        }
        TBrowseForRemoteFolder picker(settings_, boxes_, pickers_, this);
        picker.SetHeaderText(title);
        picker.SetAllowNewFolder(tag == kFirstRemoteTag);
        if (picker.Execute()) {
            field.setText(DecodeText(olmira::ToBoxPath(picker.SelectedPath())));
        }
    });
}

void TformSetupDlg::RegisterCridFileType() {
    guard_.Run([this] {
        const olmira::EnvironmentLookup environment =
            place_.Environment ? place_.Environment
                               : olmira::EnvironmentLookup(olmira::ProcessEnvironment);
        olmira::RegisterCridFileType(place_.ProgramFolder, environment);
    });
}
