#include "translations/programtranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>
#include <atomic>
#include <cstdlib>

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

struct ProgramTranslations::Translators {
    QTranslator program;
    QTranslator qt;
    bool loaded = false;
    bool installed = false;
};

ProgramTranslations::ProgramTranslations(Use use, const std::string& dataFolder)
    : m_translators(std::make_unique<Translators>()) {
    if (WantsUntranslated(MessagesLocale())) {
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
