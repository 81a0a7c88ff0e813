// The About box and the rule that routes system-menu commands to it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <vector>

#include "ui/aboutdialog.h"

namespace {

using tav::AboutDialog;

TEST(AboutDialog, ShowsIconNameNoticeAndADefaultOk) {
    AboutDialog about;
    EXPECT_EQ(about.windowTitle(), "About");
    const auto* icon = about.findChild<QLabel*>("icon");
    const auto* title = about.findChild<QLabel*>("title");
    const auto* notice = about.findChild<QLabel*>("notice");
    const auto* ok = about.findChild<QPushButton*>("ok");
    ASSERT_TRUE(icon && title && notice && ok);
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_EQ(icon->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(title->text(), "TAV Configuration Manager");
    EXPECT_FALSE(notice->text().isEmpty());
    EXPECT_FALSE(notice->text().contains('\n'));
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(about.findChildren<QPushButton*>().size(), 1);
}

TEST(AboutDialog, ShowsTheProgramsVersion) {
    QCoreApplication::setApplicationVersion(QStringLiteral("2.5.1"));
    AboutDialog about;
    about.show();
    const auto* version = about.findChild<QLabel*>("version");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "Version 2.5.1");
    EXPECT_TRUE(version->isVisible());
    QCoreApplication::setApplicationVersion(QString());
}

TEST(AboutDialog, RunsModallyOverTheMainWindowUntilOk) {
    QWidget mainWindow;
    mainWindow.show();
    AboutDialog about(&mainWindow);
    bool wasModal = false;
    QTimer::singleShot(0, &about, [&] {
        wasModal = QApplication::activeModalWidget() == &about;
        about.findChild<QPushButton*>("ok")->click();
    });
    EXPECT_EQ(about.exec(), QDialog::Accepted);
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(about.isVisible());
}

TEST(AboutDialog, EnterTakesTheDefaultButtonAndEscapeCloses) {
    struct Case {
        Qt::Key key;
        QDialog::DialogCode result;
    };
    for (const Case& c :
         {Case{Qt::Key_Return, QDialog::Accepted}, Case{Qt::Key_Escape, QDialog::Rejected}}) {
        AboutDialog about;
        about.setResult(-1);
        about.show();
        QTest::keyClick(&about, c.key);
        EXPECT_EQ(about.result(), c.result) << c.key;
        EXPECT_FALSE(about.isVisible()) << c.key;
    }
}

TEST(AboutSysCommand, TakesTheCommandsWhoseHighBitsAreSixteen) {
    struct Case {
        unsigned id;
        bool about;
    };
    const std::vector<Case> cases = {
        {0, false},  {15, false}, {16, true},      {17, true},      {31, true},
        {32, false}, {48, false}, {0xF010, false}, {0xF060, false}, {0x10010, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tav::IsAboutSysCommand(c.id), c.about) << c.id;
    }
}

}  // namespace
