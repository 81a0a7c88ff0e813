// The question about the catalogue folder, answered through the fakes: a folder, the examples,
// cancel, and folders that lack a catalogue file.
#include "ui/cataloguechoice.h"

#include <QDir>
#include <optional>
#include <string>
#include <vector>

#include "qtbridge/textconv.h"
#include "ui-fakes.h"

namespace tavtest {
namespace {

using tav::CatalogueAnswer;

// Folders below a temporary one: "good" holds both files, "half" only Sections.txt, "empty"
// neither, "examples" both.
struct ChoiceCase {
    const char* name;
    bool examples;
    std::vector<CatalogueAnswer> answers;
    std::vector<std::optional<std::string>> folders;  // the chooser's answers, below T
    std::optional<std::string> chosen;                // below T
    std::vector<std::string> problems;                // what each question after the first said
};

class CatalogueChoiceTest : public testing::TestWithParam<ChoiceCase> {
protected:
    CatalogueChoiceTest() {
        for (const char* folder : {"good", "half", "empty", "examples"}) {
            QDir().mkpath(tav::ToQt(m_dir.File(folder)));
        }
        for (const char* folder : {"good", "half", "examples"}) {
            WriteFile(m_dir.File(std::string(folder) + "/Sections.txt"), "1,S,N,L,SN,1\n");
        }
        for (const char* folder : {"good", "examples"}) {
            WriteFile(m_dir.File(std::string(folder) + "/Fields.txt"), "K,K,B,N,1\n");
        }
    }
    QString Native(const std::string& below) const {
        return QDir::toNativeSeparators(tav::ToQt(m_dir.File(below)));
    }

    TempDir m_dir;
    ScriptedChooser m_files;
    RecordingReporter m_messages;
};

TEST_P(CatalogueChoiceTest, AsksUntilAFolderWithBothFilesOrTheExamplesOrCancel) {
    const ChoiceCase& row = GetParam();
    m_messages.catalogueAnswers.assign(row.answers.begin(), row.answers.end());
    for (const std::optional<std::string>& folder : row.folders) {
        m_files.folderAnswers.push_back(folder ? std::optional(m_dir.File(*folder)) : folder);
    }
    tav::CatalogueChoice choice(m_files, m_messages,
                                row.examples ? m_dir.File("examples") : std::string());
    const std::optional<std::string> chosen =
        choice.ChooseAtStart({m_dir.File("bin"), m_dir.File("config/tavmanager")});

    EXPECT_EQ(chosen, row.chosen ? std::optional(m_dir.File(*row.chosen)) : std::nullopt);
    EXPECT_TRUE(m_messages.catalogueAnswers.empty()) << "a scripted answer was not asked for";
    EXPECT_TRUE(m_files.folderAnswers.empty()) << "a scripted folder was not asked for";
    ASSERT_EQ(m_messages.catalogueQuestions.size(), row.problems.size() + 1);
    for (std::size_t i = 0; i < m_messages.catalogueQuestions.size(); ++i) {
        const tav::CatalogueQuestion& question = m_messages.catalogueQuestions[i];
        EXPECT_EQ(question.offerExamples, row.examples);
        EXPECT_TRUE(question.atStart);
        // Every question says where the search looked; a later one first says what went wrong.
        EXPECT_TRUE(question.text.contains(Native("bin") + "\n" + Native("config/tavmanager")))
            << question.text.toStdString();
        if (i > 0) {
            const QString problem = QString::fromStdString(row.problems[i - 1])
                                        .replace(QStringLiteral("T/"), Native(".").chopped(1));
            EXPECT_TRUE(question.text.startsWith(problem)) << question.text.toStdString();
        }
    }
    // No messages besides the questions.
    EXPECT_TRUE(m_messages.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CatalogueChoiceTest,
    testing::Values(
        ChoiceCase{"chooseAFolder", false, {CatalogueAnswer::ChooseFolder}, {"good"}, "good", {}},
        ChoiceCase{"useTheExamples", true, {CatalogueAnswer::UseExamples}, {}, "examples", {}},
        ChoiceCase{"cancel", true, {CatalogueAnswer::Cancel}, {}, std::nullopt, {}},
        ChoiceCase{"aFolderMissingAFileIsNamedAndAskedAgain",
                   false,
                   {CatalogueAnswer::ChooseFolder, CatalogueAnswer::ChooseFolder},
                   {"half", "good"},
                   "good",
                   {"T/half holds no Fields.txt."}},
        ChoiceCase{"aFolderWithNeitherThenCancel",
                   true,
                   {CatalogueAnswer::ChooseFolder, CatalogueAnswer::Cancel},
                   {"empty"},
                   std::nullopt,
                   {"T/empty holds neither Sections.txt nor Fields.txt."}},
        ChoiceCase{"aCancelledChooserAsksAgain",
                   false,
                   {CatalogueAnswer::ChooseFolder, CatalogueAnswer::Cancel},
                   {std::nullopt},
                   std::nullopt,
                   {"The catalogues"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tavtest
