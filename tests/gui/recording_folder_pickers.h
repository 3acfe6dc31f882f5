#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "browse_for_remote_folder.h"
#include "folder_pickers.h"

// Answers the folder pickers at once and keeps what they were asked.
class RecordingFolderPickers final : public FolderPickers {
public:
    struct TextQuestion {
        QString caption;
        QString prompt;
        QString text;
    };

    std::optional<QString> ChooseFolder(const FolderDialogRequest& request) override {
        folderRequests.push_back(request);
        return folderAnswer;
    }

    // The remote picker is shown, handed to remoteAnswer to be driven
    // through its controls, and counts as closed with "Ok" when that closed
    // it accepted.
    bool ShowRemotePicker(TBrowseForRemoteFolder& picker) override {
        ++remotePickersShown;
        picker.setResult(0);
        picker.show();
        if (remoteAnswer) {
            remoteAnswer(picker);
        }
        const bool accepted = !picker.isVisible() && picker.result() == QDialog::Accepted;
        picker.hide();
        return accepted;
    }

    std::optional<QString> AskText(QWidget*, const QString& caption, const QString& prompt,
                                   const QString& text) override {
        textQuestions.push_back({caption, prompt, text});
        return textAnswer;
    }

    std::optional<QString> folderAnswer;
    std::vector<FolderDialogRequest> folderRequests;
    std::function<void(TBrowseForRemoteFolder&)> remoteAnswer;
    int remotePickersShown = 0;
    std::optional<QString> textAnswer;
    std::vector<TextQuestion> textQuestions;
};
