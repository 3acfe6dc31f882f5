#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QLabel>
#include <QStringList>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "entry_list_view.h"
#include "form_main.h"
#include "recording_message_boxes.h"
#include "temp_folder.h"

// A main window on its own INI file, shown offscreen, with message boxes
// that answer at once. Controls are found by their object names.
class WindowUnderTest {
public:
    // The window keeps its state in stateFile, in a file of its own when
    // none is given.
    explicit WindowUnderTest(const std::string& ini, const std::string& stateFile = "");

    // An INI file that points at the simulated box, or at host if given.
    static std::string BoxIni(const std::optional<std::string>& host = std::nullopt);

    TformMain& Window() { return *window_; }
    RecordingMessageBoxes& Boxes() { return boxes_; }
    // Every status text set since the window was created, in order.
    const QStringList& StatusTexts() const { return statusTexts_; }

    template <typename Widget>
    Widget& Child(const char* name) const {
        auto* widget = window_->findChild<Widget*>(QString::fromUtf8(name));
        if (widget == nullptr) {
            throw std::runtime_error(std::string("no control ") + name);
        }
        return *widget;
    }

    void Click(const char* name);
    QString Text(const char* labelName) const { return Child<QLabel>(labelName).text(); }
    bool Enabled(const char* name) const { return Child<QWidget>(name).isEnabled(); }
    QString Hint(const char* name) const { return Child<QWidget>(name).toolTip(); }
    int ConnectImage() const { return window_->ConnectImage(); }

    // The captions (first column) of a list, top to bottom.
    QStringList Captions(const char* listName) const;
    QString Cell(const char* listName, int row, int column) const;
    // Selects the row showing caption; false when the list has none.
    bool Select(const char* listName, const QString& caption);
    void DoubleClick(const char* listName, const QString& caption);
    // A click on the middle of a column's header.
    void ClickHeader(const char* listName, int column);

    // Chooses drive in a pane's drive box and presses the pane's "go" button.
    void ChooseDrive(const char* mediaName, const char* goName, const QString& drive);
    // Connects and waits for the drive list; false when it did not come.
    bool ConnectAndLogIn();
    // Waits until the list shows caption, up to the time a listing needs.
    bool WaitForCaption(const char* listName, const QString& caption);

private:
    olmira::test_support::TempFolder folder_;
    RecordingMessageBoxes boxes_;
    std::unique_ptr<TformMain> window_;
    QStringList statusTexts_;
};

// Polls condition while serving events, up to timeoutMs.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// Clicks name from inside the application's event loop and returns the
// loop's exit code, or 1 when the loop did not end within 10 s.
int ExitCodeAfterClicking(WindowUnderTest& test, const char* name);

// What the box's shell received, one command line per entry.
std::vector<std::string> BoxHistory();
