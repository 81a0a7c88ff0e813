// The editor in German, as it starts under LANG=de_DE.UTF-8 (ctest gives this program that
// environment): its menus, its questions and Qt's own standard buttons, and the core's messages.
// The program's questions are also checked by ui-messagereporter-test.cc, built into this
// program too, so that every German button keeps an Alt letter of its own.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <memory>

#include "base/fileerror.h"
#include "translations/programtranslations.h"
#include "treeitem.h"
#include "ui-fakes.h"
#include "ui/messagereporter.h"

namespace tavtest {
namespace {

// The translations the program loads at start, for the whole run (they need the application).
class GermanStart final : public testing::Environment {
public:
    void SetUp() override {
        translations = std::make_unique<tav::ProgramTranslations>(
            tav::ProgramTranslations::Use::Application, std::string());
    }
    void TearDown() override { translations.reset(); }

    std::unique_ptr<tav::ProgramTranslations> translations;
};

GermanStart* const kGerman =
    static_cast<GermanStart*>(testing::AddGlobalTestEnvironment(new GermanStart));

// The letter after the single "&" of `text`, or 0 when there is none.
QChar AltLetter(const QString& text) {
    const qsizetype at = text.indexOf(u'&');
    return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
}

TEST_F(WindowTest, GermanMenusGiveEveryCommandAnAltLetterOfItsOwn) {
    ASSERT_TRUE(kGerman->translations->Loaded());
    Build();
    QStringList titles;
    QSet<QChar> titleLetters;
    for (QAction* menu : m_window->findChild<QMenuBar*>()->actions()) {
        titles << menu->text();
        EXPECT_FALSE(titleLetters.contains(AltLetter(menu->text()))) << menu->text().toStdString();
        titleLetters.insert(AltLetter(menu->text()));
        QSet<QChar> letters;
        for (QAction* item : menu->menu()->actions()) {
            if (item->isSeparator()) {
                continue;
            }
            const QChar letter = AltLetter(item->text());
            EXPECT_FALSE(letter.isNull()) << item->text().toStdString();
            EXPECT_FALSE(letters.contains(letter))
                << menu->text().toStdString() << ": " << item->text().toStdString();
            letters.insert(letter);
        }
    }
    EXPECT_EQ(titles, QStringList({"&Datei", "&Bearbeiten", "&Hilfe"}));
    EXPECT_EQ(Action(Command::SaveAs)->text(), "Speichern &unter...");
    EXPECT_EQ(RootItem(Tree()).text(), "Datei : [keine]");
}

TEST(GermanQuestions, TheSaveQuestionAndQtsOwnStandardButtonsAreGerman) {
    const std::unique_ptr<QMessageBox> ours = tav::SaveChangesBox(nullptr, "a.tac");
    EXPECT_EQ(ours->text(), "Änderungen an a.tac speichern?");
    QMessageBox plain(QMessageBox::Warning, "", "",
                      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    const struct {
        QMessageBox::StandardButton button;
        const char* ours;
        const char* qt;  // from Qt's own translation (qtbase_de.qm)
    } cases[] = {
        {QMessageBox::Save, "&Speichern", "Speichern"},
        {QMessageBox::Discard, "&Verwerfen", "Verwerfen"},
        {QMessageBox::Cancel, "&Abbrechen", "Abbrechen"},
    };
    for (const auto& c : cases) {
        ASSERT_NE(ours->button(c.button), nullptr) << c.qt;
        EXPECT_EQ(ours->button(c.button)->text(), c.ours);
        EXPECT_EQ(plain.button(c.button)->text().remove(u'&'), c.qt);
    }
}

TEST(GermanCoreTexts, TheCoresMessagesAreTranslatedAsWholeSentences) {
    const struct {
        tav::FileError error;
        const char* message;
    } cases[] = {
        {{"a.tac", "x", 0, tav::WriteState::Untouched}, "a.tac: x; es wurde nichts geschrieben"},
        {{"a.tac", "x", 0, tav::WriteState::Saved},
         "a.tac: der neue Inhalt ist gespeichert, aber x"},
        {{"", "x", 0, tav::WriteState::Untouched}, "x; es wurde nichts geschrieben"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.error.Message(), c.message);
    }
}

TEST(MessagesLocale, OnlyAnUnsetCOrPosixLocaleAsksForTheEnglishTexts) {
    for (const char* english : {"", "C", "POSIX", "C.UTF-8", "C.utf8", "POSIX@euro"}) {
        EXPECT_TRUE(tav::WantsUntranslated(english)) << english;
    }
    for (const char* other : {"de_DE.UTF-8", "de", "de_AT@euro", "en_US.UTF-8", "Cy_GB"}) {
        EXPECT_FALSE(tav::WantsUntranslated(other)) << other;
    }
}

// English asked for loads nothing at all; any other language among LANGUAGE's still loads it.
TEST(MessagesLocale, OnlyEnglishInLanguageOrElseTheLocaleIsEnglishOnly) {
    const struct {
        const char* locale;
        const char* languages;
        bool englishOnly;
    } cases[] = {
        {"en_US.UTF-8", "", true},         {"en", "", true},
        {"en_GB@euro", "", true},          {"de_DE.UTF-8", "en_GB:en", true},
        {"en_US.UTF-8", "::en_US:", true}, {"en_US.UTF-8", "de", false},
        {"en_US.UTF-8", "en:de", false},   {"de_DE.UTF-8", "", false},
        {"eo.UTF-8", "", false},           {"", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tav::AsksForEnglishOnly(c.locale, c.languages), c.englishOnly)
            << c.locale << " / " << c.languages;
    }
}

}  // namespace
}  // namespace tavtest
