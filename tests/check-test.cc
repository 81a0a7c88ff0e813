// The check library on its own, as the editor would call it: catalogues and a document held in
// memory, with no command line in between. tacconf's tests cover the findings one by one.
#include <gtest/gtest.h>

#include "check/cataloguecheck.h"
#include "check/documentcheck.h"

namespace {

using tav::check::Finding;

// 126 fields leave the table room for two replacement entries.
std::shared_ptr<const tav::Catalogues> CataloguesWithRoomForTwoEntries() {
    std::string fields;
    for (int i = 0; i < 126; ++i) {
        fields += "L,K" + std::to_string(i) + ",C,N,1\n";
    }
    return tav::CataloguesFromText("/cat", "1,Main,N,Main,SN,1\n2,Replace,N,Replacements,SR,2\n",
                                   fields);
}

TEST(CheckDocumentTest, EntriesTheTableHasNoRoomForAreFoundAtTheListsSection) {
    const auto catalogues = CataloguesWithRoomForTwoEntries();
    const std::vector<Finding> findings = tav::check::CheckDocument(
        *catalogues, "unsaved.tac", "[Main]\nK0=x\n[Replace]\nr0=a,b\nr1=c,d\nr2=e,f\nr3=\n");
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].file, "unsaved.tac");
    EXPECT_EQ(findings[0].line, 3u);
    EXPECT_NE(findings[0].message.find("from \"r2\" on in section [Replace] were not loaded"),
              std::string::npos)
        << findings[0].message;
}

TEST(CheckDocumentTest, DocumentThatFitsHasNoFindings) {
    const auto catalogues = CataloguesWithRoomForTwoEntries();
    EXPECT_EQ(tav::check::CheckDocument(*catalogues, "unsaved.tac",
                                        "[Main]\nK0=x\n[Replace]\nr0=a,b\nr1=c,d\n")
                  .size(),
              0u);
}

TEST(CheckCataloguesTest, FindingsNameTheCatalogueFilesByTheirPaths) {
    const auto catalogues = tav::CataloguesFromText("/cat", "1,Main,y,Main,SN,1\n", "T,T,X,N,1\n");
    const std::vector<Finding> findings = tav::check::CheckCatalogues(*catalogues);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].file, "/cat/Sections.txt");
    EXPECT_EQ(findings[1].file, "/cat/Fields.txt");
    EXPECT_EQ(findings[0].line, 1u);
    EXPECT_EQ(findings[1].line, 1u);
}

TEST(CheckCataloguesTest, UnreadableFilesGiveNoFindings) {
    const auto catalogues = tav::LoadCatalogues("/nonexistent-folder-of-the-check-test", {});
    ASSERT_TRUE(catalogues->ReadError());
    EXPECT_EQ(tav::check::CheckCatalogues(*catalogues).size(), 0u);
}

}  // namespace
