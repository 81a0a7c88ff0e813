// The German translation: every text the sources mark is translated, each translation keeps the
// placeholders, Alt letter and line ends of its text, and no user-visible text is left unmarked.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <algorithm>

namespace tavtest {
namespace {

struct Message {
    QString context;
    QString source;
    QString type;              // "unfinished", "vanished", "obsolete" or empty
    QStringList translations;  // one, or one per plural form
};

std::vector<Message> ReadTs(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    std::vector<Message> messages;
    QString context;
    bool numerus = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const auto name = xml.name();
        if (name == u"name") {
            context = xml.readElementText();
        } else if (name == u"message") {
            messages.push_back({context, {}, {}, {}});
            numerus = xml.attributes().value(QLatin1String("numerus")) == u"yes";
        } else if (name == u"source") {
            messages.back().source = xml.readElementText();
        } else if (name == u"translation") {
            messages.back().type = xml.attributes().value(QLatin1String("type")).toString();
            if (!numerus) {  // a plural translation holds one numerusform per form instead
                messages.back().translations << xml.readElementText();
            }
        } else if (name == u"numerusform") {
            messages.back().translations << xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return messages;
}

QString Describe(const Message& m) {
    return m.context + QStringLiteral(": \"") + m.source.left(60) + u'"';
}

// The placeholders of `text` (%1 ... %9, %n), sorted: a translation may reorder, not drop or add.
QStringList Placeholders(const QString& text) {
    QStringList found;
    static const QRegularExpression placeholder(QStringLiteral("%[1-9n]"));
    for (const QRegularExpressionMatch& m : placeholder.globalMatch(text)) {
        found << m.captured();
    }
    found.sort();
    return found;
}

// How many Alt letters `text` marks: each "&" not doubled.
int AltLetters(const QString& text) {
    return static_cast<int>(text.count(u'&')) - 2 * static_cast<int>(text.count(u"&&"));
}

// What must stay as it is at the end of a text: line breaks (help texts end in one) and a
// trailing blank (a reason follows), and the shortcut after a tab ("&Contents\tF1").
QString Ending(const QString& text) {
    static const QRegularExpression ending(QStringLiteral("[\\n ]*$"));
    const qsizetype tab = text.indexOf(u'\t');
    return text.mid(ending.match(text).capturedStart()) +
           (tab < 0 ? QString() : text.mid(tab).section(u'\n', 0, 0));
}

TEST(GermanTranslation, EveryTextTheSourcesMarkIsTranslated) {
    // lupdate brings a copy of the committed file up to date with the sources: a new text comes in
    // unfinished, a text no longer in the sources is marked vanished or obsolete.
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString copy = temp.filePath(QStringLiteral("tavmanager_de.ts"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TAV_TS_FILE), copy));
    QProcess lupdate;
    lupdate.setWorkingDirectory(QStringLiteral(TAV_SOURCE_DIR));
    lupdate.start(QStringLiteral(TAV_LUPDATE),
                  QString::fromUtf8(TAV_LUPDATE_ARGS).split(u'|', Qt::SkipEmptyParts)
                      << QStringLiteral("-ts") << copy);
    ASSERT_TRUE(lupdate.waitForFinished(120000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    QStringList problems;
    const std::vector<Message> messages = ReadTs(copy);
    for (const Message& m : messages) {
        const bool empty = std::any_of(m.translations.begin(), m.translations.end(),
                                       [](const QString& t) { return t.isEmpty(); });
        if (!m.type.isEmpty() || m.translations.isEmpty() || empty) {
            problems << Describe(m) + QStringLiteral(" (") +
                            (m.type.isEmpty() ? QStringLiteral("empty") : m.type) + u')';
        }
    }
    EXPECT_GT(messages.size(), 300u);
    EXPECT_TRUE(problems.isEmpty())
        << "bring translations/tavmanager_de.ts up to date (ninja tavtranslations_update) and "
           "translate:\n"
        << problems.join(u'\n').toStdString();
}

TEST(GermanTranslation, EachTranslationKeepsPlaceholdersAltLetterAndEnding) {
    QStringList problems;
    for (const Message& m : ReadTs(QStringLiteral(TAV_TS_FILE))) {
        for (const QString& translation : m.translations) {
            if (Placeholders(translation) != Placeholders(m.source)) {
                problems << Describe(m) + QStringLiteral(": placeholders ") +
                                Placeholders(translation).join(u',');
            }
            if (AltLetters(translation) != AltLetters(m.source)) {
                problems << Describe(m) + QStringLiteral(": Alt letters in \"") + translation +
                                u'"';
            }
            if (Ending(translation) != Ending(m.source)) {
                problems << Describe(m) + QStringLiteral(": ends differently");
            }
        }
    }
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
}

// --- Texts left unmarked ---------------------------------------------------------------------

// `code` with comments blanked, string and character literals kept (a "//" inside a literal is
// no comment).
QString WithoutComments(const QString& code) {
    QString out = code;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        if (c == u'"' || c == u'\'') {
            for (++i; i < out.size() && out[i] != c; ++i) {
                i += out[i] == u'\\' ? 1 : 0;
            }
        } else if (c == u'/' && i + 1 < out.size() && (out[i + 1] == u'/' || out[i + 1] == u'*')) {
            const bool line = out[i + 1] == u'/';
            const qsizetype end = line ? out.indexOf(u'\n', i) : out.indexOf(u"*/", i + 2) + 2;
            const qsizetype stop = end < (line ? 0 : 2) ? out.size() : end;
            for (qsizetype j = i; j < stop; ++j) {
                out[j] = out[j] == u'\n' ? u'\n' : u' ';
            }
            i = stop - 1;
        }
    }
    return out;
}

// Texts the programs show: a literal of a word and a blank (a message), or any literal with a
// letter passed straight to a Qt call that shows text.
const QRegularExpression kMarked(QStringLiteral(
    R"re(\b(?:Translate|TAV_TRANSLATE_NOOP|QT_TRANSLATE_NOOP|translate|tr)\(\s*(?:"(?:[^"\\]|\\.)*"\s*,\s*)?(?:(?:R"\((?:.|\n)*?\)"|"(?:[^"\\]|\\.)*")\s*)+)re"));
const QRegularExpression kLiteral(
    QStringLiteral(R"re(R"\((?:.|\n)*?\)"|'(?:[^'\\]|\\.)+'|"((?:[^"\\\n]|\\.)*)")re"));
const QRegularExpression kQtShown(QStringLiteral(
    R"re(\b(?:setText|setWindowTitle|addAction|addMenu|setToolTip|setStatusTip|setWhatsThis|setPlaceholderText|setInformativeText|setDetailedText|setLabelText|setAccessibleName|setAccessibleDescription|addTab|insertTab|setTabText|showMessage|setHeaderLabels?|setCancelButtonText|ShowWarning|ShowNote|ShowMessage|addButton|new\s+Q(?:Label|PushButton|Action|CheckBox|RadioButton|GroupBox|ToolButton|Menu)|QMessageBox::(?:warning|information|critical|question|about))\((?:[^;(){}]*,)?\s*\{?\s*(?:QStringLiteral\(|QLatin1String\(|QString\()?u?"[^"]*[A-Za-z])re"));

// Literals that are not translated, each for a reason: what scripts and other programs read.
constexpr const char* kJsonName = R"re([\s,{}\[\]\\n]*\\"[a-z_]+\\": (\[|true\})?)re";
struct Allowed {
    const char* file;
    const char* pattern;  // a regular expression the literal's text matches whole
    const char* why;
};
const Allowed kAllowed[] = {
    {"cli/dumpcommand.cpp", kJsonName, "JSON member names"},
    {"cli/setcommand.cpp", kJsonName, "JSON member names"},
    {"cli/getcommand.cpp", kJsonName, "JSON member names"},
    {"cli/checkcommand.cpp", kJsonName, "JSON member names"},
    {"cli/comparecommand.cpp", kJsonName, "JSON member names"},
    {"cli/diffcommand.cpp", R"re(\\tas (read|saved))re", "the diff's file labels, read by patch"},
    {"cli/linediff.cpp", R"re(\\n\\\\ No newline at end of file\\n)re", "unified diff syntax"},
    {"cli/setcommand.cpp", R"re( (un)?changed, | failed\\n)re", "set's summary line, for scripts"},
    {"cli/tacconf.cpp", "tacconf ", "the version line, for scripts"},
    {"cli/environment.cpp", "tacconf: |/proc/self/exe: ", "a program or file name before a reason"},
    {"storage/safepath.cpp", R"re( \(uid |uid )re", "a user as the system names it"},
    {"app/commandline.cpp", "tavmanager ", "the version line, for scripts"},
    {"app/startupprobe.cpp", "message box: |button: ", "the start-up probe's report, for tests"},
    // The HTML help is English, like the pages it is made from; the words search looks up are
    // the words of those pages; the page maker is a build tool, not part of the programs.
    {"help/helpcontentspage.cpp", ".*", "the installed HTML help's contents page"},
    {"help/searchsynonyms.cpp", ".*", "words of the help pages"},
    {"help/helpcontentstool.cpp", ".*", "a build tool's messages"},
};

bool IsAllowed(const QString& file, const QString& literal) {
    return std::any_of(std::begin(kAllowed), std::end(kAllowed), [&](const Allowed& a) {
        return file == QLatin1String(a.file) &&
               QRegularExpression(QRegularExpression::anchoredPattern(QString::fromUtf8(a.pattern)))
                   .match(literal)
                   .hasMatch();
    });
}

TEST(GermanTranslation, NoUserVisibleTextIsLeftUnmarked) {
    const QDir root(QStringLiteral(TAV_SOURCE_DIR));
    QStringList unmarked;
    for (const char* folder : {"base", "catalog", "profile", "storage", "document", "check", "cli",
                               "tree", "help", "ui", "app", "translations"}) {
        const QDir dir(root.filePath(QString::fromLatin1(folder)));
        for (const QString& name :
             dir.entryList({QStringLiteral("*.cpp"), QStringLiteral("*.h")})) {
            const QString file = QString::fromLatin1(folder) + u'/' + name;
            QFile source(root.filePath(file));
            ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << file.toStdString();
            QString code = WithoutComments(QString::fromUtf8(source.readAll()));
            const auto lineOf = [&code](qsizetype at) { return code.left(at).count(u'\n') + 1; };
            for (const QRegularExpressionMatch& m : kQtShown.globalMatch(code)) {
                unmarked << file + u':' + QString::number(lineOf(m.capturedStart())) +
                                QStringLiteral(": ") + m.captured();
            }
            // What is marked is blanked (lines kept), then every literal left must not be a
            // message: a word and a blank (a text handed to a helper, unmarked, is one).
            for (const QRegularExpressionMatch& m : kMarked.globalMatch(code)) {
                for (qsizetype i = m.capturedStart(); i < m.capturedEnd(); ++i) {
                    code[i] = code[i] == u'\n' ? u'\n' : u' ';
                }
            }
            static const QRegularExpression message(
                QStringLiteral("[A-Za-z]{2,}.* |.* [A-Za-z]{2,}"));
            for (const QRegularExpressionMatch& m : kLiteral.globalMatch(code)) {
                const QString text = m.captured(1);
                // A raw literal here is a help text, which is marked where it is defined.
                const bool raw = m.captured().startsWith(u'R');
                if ((raw || (m.captured().startsWith(u'"') && message.match(text).hasMatch() &&
                             !IsAllowed(file, text)))) {
                    unmarked << file + u':' + QString::number(lineOf(m.capturedStart())) +
                                    QStringLiteral(": ") + m.captured();
                }
            }
        }
    }
    EXPECT_TRUE(unmarked.isEmpty())
        << "mark these texts (base/translation.h; tr() in Qt code) or allow them in this test:\n"
        << unmarked.join(u'\n').toStdString();
}

}  // namespace
}  // namespace tavtest
