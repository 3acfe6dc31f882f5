#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "error_guard.h"
#include "settings/program_folder.h"
#include "settings/setup.h"

class ConnectionFields;
class FolderPickers;
class MessageBoxes;
class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QVBoxLayout;
class TNumberField;

// "Setup": edits the INI file on five pages and associates .crid files with
// the editor. It reads the file when it opens and writes it on "Übernehmen"
// and "Ok"; the running program's settings stay as they were loaded, so
// what it saves holds from the next start.
class TformSetupDlg final : public QDialog {
    Q_OBJECT

public:
    // place names the INI file and the program's folder; settings are the
    // running program's, whose drive paths the remote picker lists. Errors go
    // to the program's error box through boxes.
    TformSetupDlg(olmira::SetupPlace place, const olmira::TSetup& settings, MessageBoxes& boxes,
                  FolderPickers& pickers, QWidget* owner);
    ~TformSetupDlg() override;

    // ReadIni, the first page, the cursor in ePC1, then modal until closed.
    void Execute();
    // Reads the file into the dialog's own settings and fills the controls.
    void ReadIni();
    // Writes the controls' values; throws the INI's write error.
    void WriteIni();

    // Handlers.
    void bOkClick();
    void bApplyClick();
    void bCancelClick();
    // The ".." button with this tag (1 to 9) fills its field through a
    // picker.
    void BrowseForFolder(int tag);
    void RegisterCridFileType();

private:
    void BuildButtons(QVBoxLayout& layout);
    void BuildDrivesPage();
    void BuildFoldersPage();
    void BuildNetworkPage();
    void BuildTransferPage();
    void BuildToolsPage();
    QWidget* AddPage(const char* name, const QString& caption);
    // A field with its ".." button beside it; the field is browsedFields_
    // at tag less one.
    QHBoxLayout* BrowsedFieldRow(const char* fieldName, const char* buttonName, int tag);
    QLineEdit* AddBrowsedField(QVBoxLayout& layout, const char* fieldName, const char* buttonName,
                               int tag);
    // The bytes to store for a field: those read while the field still shows
    // them, else the text as UTF-8.
    static std::string FieldBytes(const QString& text, const std::string& read);

    olmira::SetupPlace place_;
    const olmira::TSetup& settings_;
    MessageBoxes& boxes_;
    FolderPickers& pickers_;
    ErrorGuard guard_;
    olmira::TSetup setup_;

    QTabWidget* pageControl_ = nullptr;
    QLineEdit* ePC1_ = nullptr;
    TNumberField* eProgressUpdateIntervall_ = nullptr;
    TNumberField* eProgressMinValue_ = nullptr;
    QCheckBox* cbWithCrid_ = nullptr;
    QCheckBox* cbBackgroundJobs_ = nullptr;
    std::unique_ptr<ConnectionFields> connection_;
    // The text fields and their settings, in the order of the table.
    std::vector<std::pair<QLineEdit*, std::string olmira::TSetup::*>> textFields_;
    // The field each ".." button fills, by its tag less one.
    std::array<QLineEdit*, 9> browsedFields_{};
};
