// The program's questions: each button answers to a letter of its own with Alt, and the answer
// each button gives.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <functional>
#include <memory>

#include "ui/messagereporter.h"

namespace tavtest {
namespace {

struct Question {
    const char* name;
    std::function<std::unique_ptr<QMessageBox>()> make;
};

const Question kQuestions[] = {
    {"save changes", [] { return tav::SaveChangesBox(nullptr, "a.tac"); }},
    {"unfinished save",
     [] { return tav::UnfinishedSaveBox(nullptr, "a.tac", "/srv/.a.tac.copy"); }},
    {"missing recent file", [] { return tav::MissingFileBox(nullptr, "/srv/a.tac"); }},
};

// The letter after the single "&" of `text`, or 0 when there is none.
QChar AltLetter(const QString& text) {
    const qsizetype at = text.indexOf(u'&');
    const bool one = at >= 0 && at + 1 < text.size() && text.at(at + 1) != u'&' &&
                     text.indexOf(u'&', at + 1) < 0;
    return one ? text.at(at + 1).toLower() : QChar();
}

TEST(MessageBoxes, EveryButtonIsPressedByItsOwnAltLetter) {
    for (const Question& q : kQuestions) {
        const QList<QAbstractButton*> buttons = q.make()->buttons();
        ASSERT_GE(buttons.size(), 2) << q.name;
        for (int i = 0; i < buttons.size(); ++i) {
            // A fresh box per button: a click ends the box.
            const std::unique_ptr<QMessageBox> box = q.make();
            QAbstractButton* button = box->buttons().at(i);
            const QChar letter = AltLetter(button->text());
            ASSERT_FALSE(letter.isNull()) << q.name << ": " << button->text().toStdString();
            box->show();
            box->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(box.get())) << q.name;
            // Through the window system, as a real key press: that is where shortcuts are matched.
            QTest::keyClick(box->windowHandle(), static_cast<Qt::Key>(letter.toUpper().unicode()),
                            Qt::AltModifier);
            // A shortcut presses the button for a moment before it clicks.
            ASSERT_TRUE(QTest::qWaitFor([&] { return box->clickedButton() != nullptr; }, 1000))
                << q.name << ": Alt+" << letter.toLatin1() << " pressed nothing";
            EXPECT_EQ(box->clickedButton(), button) << q.name << ": Alt+" << letter.toLatin1();
        }
    }
}

TEST(MessageBoxes, DefaultIsTheFirstAnswerAndEscapeTheHarmlessOne) {
    struct Case {
        const Question& question;
        QMessageBox::ButtonRole defaultRole;
        QMessageBox::ButtonRole escapeRole;
    };
    const Case cases[] = {
        {kQuestions[0], QMessageBox::AcceptRole, QMessageBox::RejectRole},
        {kQuestions[1], QMessageBox::AcceptRole, QMessageBox::RejectRole},
        {kQuestions[2], QMessageBox::YesRole, QMessageBox::NoRole},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<QMessageBox> box = c.question.make();
        EXPECT_EQ(box->buttonRole(box->defaultButton()), c.defaultRole) << c.question.name;
        box->show();
        box->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(box.get())) << c.question.name;
        QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
        ASSERT_NE(box->clickedButton(), nullptr) << c.question.name;
        EXPECT_EQ(box->buttonRole(box->clickedButton()), c.escapeRole) << c.question.name;
    }
}

}  // namespace
}  // namespace tavtest
