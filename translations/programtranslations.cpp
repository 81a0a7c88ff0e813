#include "translations/programtranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string_view>

#include "base/translation.h"

namespace tav {

namespace {

// The program's translator while a ProgramTranslations holds it; read by the core's hook from
// any thread (QTranslator::translate only reads).
std::atomic<const QTranslator*> g_program{nullptr};

std::string TranslateCoreText(const char* context, const char* text) {
    const QTranslator* translator = g_program.load(std::memory_order_acquire);
    return translator == nullptr ? std::string()
                                 : translator->translate(context, text).toUtf8().toStdString();
}

// This program's file for `locale`: from the installation, else the copy compiled in
// (translations/CMakeLists.txt puts it under :/i18n).
bool LoadProgram(QTranslator& translator, const QLocale& locale, const std::string& dataFolder) {
    const QString installed = QString::fromStdString(dataFolder) + QStringLiteral("/translations");
    return (!dataFolder.empty() && translator.load(locale, QStringLiteral("tavmanager"),
                                                   QStringLiteral("_"), installed)) ||
           translator.load(locale, QStringLiteral("tavmanager"), QStringLiteral("_"),
                           QStringLiteral(":/i18n"));
}

bool IsEnglish(std::string_view language) {
    return language.substr(0, language.find_first_of("_-.@")) == "en";
}

bool NothingToTranslate() {
    const std::string locale = MessagesLocale();
    if (WantsUntranslated(locale)) {
        return true;
    }
    const char* languages = std::getenv("LANGUAGE");
    // An English translation of the program's own (translations/CMakeLists.txt says whether there
    // is one) would carry texts of its own.
    return TAV_OWN_ENGLISH == 0 &&
           AsksForEnglishOnly(locale, languages != nullptr ? languages : "");
}

}  // namespace

std::string MessagesLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') {
            return value;
        }
    }
    return {};
}

bool WantsUntranslated(const std::string& locale) {
    const std::string language = locale.substr(0, locale.find_first_of(".@"));
    return language.empty() || language == "C" || language == "POSIX";
}

bool AsksForEnglishOnly(const std::string& locale, const std::string& languages) {
    bool named = false;
    for (std::string_view rest = languages; !rest.empty();) {
        const std::string_view language = rest.substr(0, rest.find(':'));
        rest.remove_prefix(std::min(rest.size(), language.size() + 1));
        if (language.empty()) {
            continue;
        }
        if (!IsEnglish(language)) {
            return false;
        }
        named = true;
    }
    return named || IsEnglish(locale);
}

struct ProgramTranslations::Translators {
    QTranslator program;
    QTranslator qt;
    bool loaded = false;
    bool installed = false;
};

ProgramTranslations::ProgramTranslations(Use use, const std::string& dataFolder)
    : m_translators(std::make_unique<Translators>()) {
    if (NothingToTranslate()) {
        return;
    }
    const QLocale locale = QLocale::system();
    m_translators->loaded = LoadProgram(m_translators->program, locale, dataFolder);
    if (use == Use::Application) {
        if (m_translators->qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(&m_translators->qt);
        }
        if (m_translators->loaded) {
            QCoreApplication::installTranslator(&m_translators->program);
        }
        m_translators->installed = true;
    }
    if (m_translators->loaded) {
        g_program.store(&m_translators->program, std::memory_order_release);
        SetTranslationHook(TranslateCoreText);
    }
}

ProgramTranslations::~ProgramTranslations() {
    if (m_translators->loaded) {
        SetTranslationHook(nullptr);
        g_program.store(nullptr, std::memory_order_release);
    }
    if (m_translators->installed && QCoreApplication::instance() != nullptr) {
        QCoreApplication::removeTranslator(&m_translators->program);
        QCoreApplication::removeTranslator(&m_translators->qt);
    }
}

bool ProgramTranslations::Loaded() const {
    return m_translators->loaded;
}

}  // namespace tav
