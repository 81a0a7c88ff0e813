// The translations of both programs: this program's own (tavmanager_<language>.qm, one file for
// the editor and tacconf) and, for the editor, Qt's own (qtbase_<language>.qm, for the file
// dialog and the standard buttons). Qt-free, so that tacconf's main may use it.
#pragma once

#include <memory>
#include <string>

namespace tav {

// The language of the user's messages as the C library reads it: LC_ALL, else LC_MESSAGES, else
// LANG, the first that is set and not empty; the empty text when none is.
std::string MessagesLocale();

// True when `locale` (a value of MessagesLocale) asks for the untranslated texts: empty, C or
// POSIX, with or without an encoding ("C.UTF-8"), as the C library treats them.
bool WantsUntranslated(const std::string& locale);

// True when every language asked for is English: `languages` (LANGUAGE, a list separated by ":")
// when it names any, else `locale` (a value of MessagesLocale); English is "en" with or without a
// territory, encoding or modifier ("en_GB.UTF-8"). Qt tries the languages of LANGUAGE in turn, so
// one other language among them ("en:de") is not English only.
bool AsksForEnglishOnly(const std::string& locale, const std::string& languages);

class ProgramTranslations final {
public:
    enum class Use {
        CoreTexts,    // tacconf: only the core's texts (base/translation.h), no application object
        Application,  // the editor: also installs both translators into the running application
    };

    // Loads the translations for the user's language, unless WantsUntranslated(MessagesLocale())
    // or AsksForEnglishOnly(MessagesLocale(), LANGUAGE) while this program carries no English
    // translation of its own: then no translation file is looked for or loaded and every text
    // stays English (Qt's own texts are English as they are). The language is QLocale::system()'s
    // (its uiLanguages follow LANGUAGE, then the same variables). This program's file comes from
    // `dataFolder` + "/translations" (an installation; empty: not looked for) or else from the
    // copy compiled into the program; Qt's from QLibraryInfo's translations folder. The core's
    // texts are routed through this program's translator (SetTranslationHook) for as long as the
    // object lives. With Use::Application a QCoreApplication must exist. A language without a
    // translation loads nothing and is no error.
    ProgramTranslations(Use use, const std::string& dataFolder);
    ~ProgramTranslations();
    ProgramTranslations(const ProgramTranslations&) = delete;
    ProgramTranslations& operator=(const ProgramTranslations&) = delete;

    // True when this program's own translation was loaded.
    bool Loaded() const;

private:
    struct Translators;
    std::unique_ptr<Translators> m_translators;
};

}  // namespace tav
