// The program's questions, answered with the keyboard in real message
// boxes, and the main window's overwrite question through the seam.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "message_boxes.h"
#include "window_under_test.h"

namespace {

using olmira::OverwriteAnswer;

// Runs answer on the message box that opens next, from inside its loop,
// once the box is the active window: Alt and a letter reach its buttons only
// then. A box that does not become active within 5 s is closed unanswered.
void WhenTheBoxOpens(const std::function<void(QMessageBox&)>& answer) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, answer, waited = 0]() mutable {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        if (!box->isActiveWindow() && ++waited < 1000) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        if (box->isActiveWindow()) {
            answer(*box);
        } else {
            ADD_FAILURE() << "the question did not become the active window";
            box->reject();
        }
    });
    poll->start(5);
}

void PressWhenTheBoxOpens(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    WhenTheBoxOpens([key, modifiers](QMessageBox& box) { QTest::keyClick(&box, key, modifiers); });
}

TEST(QuestionBoxes, TheOverwriteQuestionHasFourButtonsWithAcceleratorsAndNeinTheDefault) {
    QtMessageBoxes boxes;
    QStringList yes;
    QStringList no;
    QString fallback;
    QString escape;
    QString text;
    WhenTheBoxOpens([&](QMessageBox& box) {
        for (QAbstractButton* button : box.findChildren<QPushButton*>()) {
            (box.buttonRole(button) == QMessageBox::YesRole ? yes : no) << button->text();
        }
        fallback = box.defaultButton() ? box.defaultButton()->text() : QString();
        escape = box.escapeButton() ? box.escapeButton()->text() : QString();
        text = box.windowTitle() + "|" + box.text();
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_EQ(boxes.AskOverwrite(nullptr, kApplicationTitle, "a.ts ist schon da."),
              OverwriteAnswer::No);
    EXPECT_EQ(yes, (QStringList{"&Ja", "Ja, &alle"}));
    EXPECT_EQ(no, (QStringList{"&Nein", "N&ein, alle"}));
    EXPECT_EQ(fallback, "&Nein");
    EXPECT_EQ(escape, "&Nein");
    EXPECT_EQ(text, "Olmira Remote File Manager|a.ts ist schon da.");
}

TEST(QuestionBoxes, EachKeyGivesItsAnswer) {
    QtMessageBoxes boxes;
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, OverwriteAnswer> overwrite[] = {
        {Qt::Key_J, {}, OverwriteAnswer::Yes},
        {Qt::Key_A, {}, OverwriteAnswer::YesToAll},
        {Qt::Key_A, Qt::AltModifier, OverwriteAnswer::YesToAll},
        {Qt::Key_N, {}, OverwriteAnswer::No},
        {Qt::Key_E, {}, OverwriteAnswer::NoToAll},
        {Qt::Key_Return, {}, OverwriteAnswer::No},
        {Qt::Key_Escape, {}, OverwriteAnswer::No},
    };
    for (const auto& [key, modifiers, answer] : overwrite) {
        PressWhenTheBoxOpens(key, modifiers);
        EXPECT_EQ(boxes.AskOverwrite(nullptr, kApplicationTitle, "?"), answer) << key;
    }
    const std::tuple<Qt::Key, bool> yesNo[] = {
        {Qt::Key_J, true},
        {Qt::Key_N, false},
        {Qt::Key_Return, false},
        {Qt::Key_Escape, false},
    };
    for (const auto& [key, answer] : yesNo) {
        PressWhenTheBoxOpens(key);
        EXPECT_EQ(boxes.Ask(nullptr, kApplicationTitle, "?"), answer) << key;
    }
}

TEST(QuestionBoxes, TheMainWindowAsksWithTheDecodedTextAndPassesTheAnswerOn) {
    WindowUnderTest test(WindowUnderTest::BoxIni());
    for (const OverwriteAnswer answer : {OverwriteAnswer::Yes, OverwriteAnswer::YesToAll,
                                         OverwriteAnswer::No, OverwriteAnswer::NoToAll}) {
        test.Boxes().overwriteAnswer = answer;
        EXPECT_EQ(test.Window().AskOverwrite("W\xe4lder.ts ist im Ziel schon vorhanden."), answer);
    }
    ASSERT_EQ(test.Boxes().shown.size(), 4u);
    EXPECT_EQ(test.Boxes().shown[0].title, kApplicationTitle);
    EXPECT_EQ(test.Boxes().shown[0].icon, QMessageBox::Question);
    EXPECT_EQ(test.Boxes().shown[0].text, QStringLiteral("Wälder.ts ist im Ziel schon vorhanden."));
}

}  // namespace
