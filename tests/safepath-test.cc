// Resolving a document's path, and the link rule a save follows in folders others can write to:
// a link another user planted is never followed to a file of the saver's, while the links the
// saver or the folder's owner made still are. Run as root, with nobody as the other user.
#include "storage/posix/safepath.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>
#include <optional>

#include "base/filepath.h"
#include "savetestutil.h"
#include "storage/posix/tempfile.h"
#include "testutil.h"

namespace {

using tavtest::FolderKind;
using tavtest::Holds;
using tavtest::kOtherUser;

struct stat Lstat(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

// The working folder changed for the scope.
class WorkingFolder final {
public:
    explicit WorkingFolder(const std::string& path) {
        EXPECT_NE(::getcwd(m_previous, sizeof m_previous), nullptr);
        EXPECT_EQ(::chdir(path.c_str()), 0);
    }
    ~WorkingFolder() { static_cast<void>(::chdir(m_previous)); }

private:
    char m_previous[PATH_MAX] = {};
};

struct ResolveCase {
    const char* name;
    const char* path;    // under the tree; relative ones are resolved from its top
    bool relative;       // given as it is, not prefixed with the tree's path
    int error;           // 0 when it resolves
    const char* folder;  // the folder the entry is in, under the tree ("" for its top)
    const char* entry;
    bool exists;
    const char* dangling;  // the link to a missing file, under the tree, or ""
};

TEST(ResolveEntryTest, FindsTheFolderAndNameOfEveryKindOfPath) {
    tavtest::TempDir dir;
    const std::string top = dir.Path();
    for (const char* folder : {"/a", "/a/b"}) {
        ASSERT_EQ(::mkdir((top + folder).c_str(), 0755), 0);
    }
    tavtest::WriteFile(top + "/a/doc.tac", "doc");
    tavtest::WriteFile(top + "/top.tac", "top");
    const std::pair<std::string, std::string> links[] = {
        {"chain1", "chain2"},        {"chain2", "a/doc.tac"},
        {"abs", top + "/a/doc.tac"}, {"la", "a"},
        {"a/up", "../top.tac"},      {"loop1", "loop2"},
        {"loop2", "loop1"},          {"self", "self"},
        {"dangle", "a/missing.tac"}, {"rootDots", "/../.." + top + "/top.tac"},
    };
    for (const auto& [name, target] : links) {
        ASSERT_EQ(::symlink(target.c_str(), (top + "/" + name).c_str()), 0) << name;
    }
    const ResolveCase cases[] = {
        {"absolute", "/a/doc.tac", false, 0, "/a", "doc.tac", true, ""},
        {"relative", "a/doc.tac", true, 0, "/a", "doc.tac", true, ""},
        {"bareName", "top.tac", true, 0, "", "top.tac", true, ""},
        {"dotsAndSlashes", "/./a//b/./../doc.tac", false, 0, "/a", "doc.tac", true, ""},
        {"relativeDotDot", "a/b/../../a/doc.tac", true, 0, "/a", "doc.tac", true, ""},
        {"linkChain", "/chain1", false, 0, "/a", "doc.tac", true, ""},
        {"absoluteLink", "/abs", false, 0, "/a", "doc.tac", true, ""},
        {"linkToAFolder", "/la/doc.tac", false, 0, "/a", "doc.tac", true, ""},
        {"linkUpwards", "/a/up", false, 0, "", "top.tac", true, ""},
        {"dotDotAboveTheRoot", "/rootDots", false, 0, "", "top.tac", true, ""},
        {"newFile", "/a/new.tac", false, 0, "/a", "new.tac", false, ""},
        {"danglingLink", "/dangle", false, 0, "/a", "missing.tac", false, "/dangle"},
        {"loopOfLinks", "/loop1", false, ELOOP, "", "", false, ""},
        {"linkToItself", "/self", false, ELOOP, "", "", false, ""},
        {"throughAFile", "/a/doc.tac/x.tac", false, ENOTDIR, "", "", false, ""},
        {"missingFolder", "/none/x.tac", false, ENOENT, "", "", false, ""},
        {"endsInDotDot", "/a/b/..", false, EISDIR, "", "", false, ""},
        {"empty", "", true, ENOENT, "", "", false, ""},
    };
    const WorkingFolder here(top);
    for (const ResolveCase& c : cases) {
        const std::string path = c.relative ? c.path : top + c.path;
        const tav::Expected<tav::FolderEntry> entry = tav::ResolveEntry(path, "shown.tac");
        if (c.error != 0) {
            ASSERT_FALSE(entry) << c.name;
            EXPECT_EQ(entry.Error().code, c.error) << c.name;
            EXPECT_EQ(entry.Error().file, "shown.tac") << c.name;
            if (c.error != ENOENT || *c.path != '\0') {
                EXPECT_TRUE(Holds(entry.Error().reason,
                                  c.error == EISDIR ? "is a folder" : std::strerror(c.error)))
                    << c.name << ": " << entry.Error().reason;
            }
            continue;
        }
        ASSERT_TRUE(entry) << c.name << ": " << entry.Error().Message();
        struct stat folder {};
        ASSERT_EQ(::fstat(entry->folder.Get(), &folder), 0) << c.name;
        const struct stat expected = Lstat(top + c.folder);
        EXPECT_EQ(folder.st_ino, expected.st_ino) << c.name << ": resolved to the wrong folder";
        EXPECT_EQ(entry->folderInfo.st_ino, expected.st_ino) << c.name;
        EXPECT_EQ(entry->name, c.entry) << c.name;
        EXPECT_EQ(entry->exists, c.exists) << c.name;
        EXPECT_EQ(entry->danglingLink, *c.dangling ? top + c.dangling : "") << c.name;
        if (c.exists) {
            // The path a message shows leads to the same file.
            EXPECT_EQ(Lstat(entry->Path()).st_ino, Lstat(top + c.folder + "/" + c.entry).st_ino)
                << c.name << ": " << entry->Path();
        }
    }
}

// /proc/sys/fs/protected_symlinks set for the scope, and put back after.
class ProtectedSymlinks final {
public:
    explicit ProtectedSymlinks(int value) {
        std::ifstream in(kPath);
        int previous = 0;
        if (in >> previous && Write(value)) {
            m_previous = previous;
        }
    }
    ~ProtectedSymlinks() {
        if (m_previous) {
            Write(*m_previous);
        }
    }
    bool Set() const { return m_previous.has_value(); }

private:
    static constexpr const char* kPath = "/proc/sys/fs/protected_symlinks";
    static bool Write(int value) {
        std::ofstream out(kPath);
        out << value << '\n';
        out.flush();
        return out.good();
    }
    std::optional<int> m_previous;
};

class LinkRuleTest : public testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "needs root, to make files of another user";
        }
        // Others must reach the folders inside, for the saves made as nobody.
        ASSERT_EQ(::chmod(m_dir.Path().c_str(), 0755), 0);
    }
    // The tables below, each row in a folder of its own whose path starts with `under`.
    void CheckLinks(const std::string& under);
    void CheckDanglingLinks(const std::string& under);

    tavtest::TempDir m_dir;
};

struct LinkCase {
    const char* name;
    FolderKind folder;  // where the document's name is a link
    uid_t folderOwner;
    uid_t linkOwner;
    uid_t saver;
    bool follows;    // else refused, naming the link; the link always leads outside the folder
    bool onThePath;  // the link is a folder on the document's path, not its name
};

void LinkRuleTest::CheckLinks(const std::string& under) {
    const LinkCase cases[] = {
        {"stickyOthersLink", FolderKind::Sticky, 0, kOtherUser, 0, false, false},
        {"worldWritableOthersLink", FolderKind::WorldWritable, 0, kOtherUser, 0, false, false},
        {"groupWritableOthersLink", FolderKind::GroupWritable, 0, kOtherUser, 0, false, false},
        {"stickyFolderOwnersLink", FolderKind::Sticky, kOtherUser, kOtherUser, 0, true, false},
        {"stickySaversOwnLink", FolderKind::Sticky, 0, kOtherUser, kOtherUser, true, false},
        {"stickyRootsLinkForOther", FolderKind::Sticky, 0, 0, kOtherUser, true, false},
        {"privateFolderOthersLink", FolderKind::Private, 0, kOtherUser, 0, true, false},
        {"ownPrivateFolderOwnLink", FolderKind::Private, kOtherUser, kOtherUser, kOtherUser, true,
         false},
        {"stickyOthersLinkOnThePath", FolderKind::Sticky, 0, kOtherUser, 0, false, true},
        {"groupWritableOthersLinkOnThePath", FolderKind::GroupWritable, 0, kOtherUser, 0, false,
         true},
        {"stickyFolderOwnersLinkOnThePath", FolderKind::Sticky, kOtherUser, kOtherUser, 0, true,
         true},
    };
    const std::string old = "[S]\nA=1\n";
    const std::string fresh = "[S]\nA=2\n";
    int row = 0;
    for (const LinkCase& c : cases) {
        const std::string base = under + std::to_string(++row);
        ASSERT_EQ(::mkdir(base.c_str(), 0755), 0);
        // The file the link leads to, outside the folder: root's own file when the rule must
        // keep it safe, else a document the saver may write.
        const tavtest::Victim victim(base + "/victim");
        std::string target = victim.Path();
        if (c.follows) {
            tavtest::MakeFolder(base + "/target", FolderKind::Private, c.saver);
            target = base + "/target/doc.tac";
            tavtest::WriteFile(target, old);
            ASSERT_EQ(::chown(target.c_str(), c.saver, c.saver), 0);
        }
        tavtest::MakeFolder(base + "/folder", c.folder, c.folderOwner);
        const std::string link = base + "/folder/" + (c.onThePath ? "sub" : "doc.tac");
        tavtest::MakeLink(c.onThePath ? tav::FolderOf(target) : target, link, c.linkOwner);
        const std::string document = c.onThePath ? link + "/" + tav::BaseNameOf(target) : link;

        const tavtest::ChildRun run = tavtest::RunInChild(
            [&] {
                return tavtest::SaveResult::Of(
                           tav::RewriteDocument(document, tavtest::Becomes(fresh)))
                    .Encode();
            },
            c.saver);
        ASSERT_TRUE(run.finished) << c.name << ": the save did not return (" << run.signal << ")";
        const auto result = tavtest::SaveResult::Decode(run.text);
        EXPECT_EQ(victim.Changes(), "") << c.name;
        EXPECT_TRUE(S_ISLNK(Lstat(link).st_mode)) << c.name << ": the link was replaced";
        if (c.follows) {
            EXPECT_TRUE(result.ok) << c.name << ": " << result.message;
            EXPECT_EQ(tavtest::ReadFile(target), fresh) << c.name;
            continue;
        }
        ASSERT_FALSE(result.ok) << c.name;
        EXPECT_EQ(result.state, tav::WriteState::Untouched) << c.name;
        EXPECT_EQ(tavtest::StateWordsMismatch(result), "") << c.name;
        for (const std::string& words :
             {"the symbolic link " + link, std::string("belongs to nobody (uid 65534)"),
              std::string("a folder others can write to"), std::string("it is not followed")}) {
            EXPECT_TRUE(Holds(result.message, words)) << c.name << ": " << result.message;
        }
    }
}

// A Save As onto the link creates nothing where it leads.
void LinkRuleTest::CheckDanglingLinks(const std::string& under) {
    struct DanglingCase {
        const char* name;
        FolderKind folder;
        uid_t linkOwner;
        const char* words;  // what the refusal says
    };
    const DanglingCase cases[] = {
        {"ownLink", FolderKind::Private, 0, "to a file that does not exist; no file is created"},
        {"othersLinkInStickyFolder", FolderKind::Sticky, kOtherUser, "it is not followed"},
        {"othersLinkInGroupFolder", FolderKind::GroupWritable, kOtherUser, "it is not followed"},
    };
    int row = 0;
    for (const DanglingCase& c : cases) {
        const std::string base = under + "d" + std::to_string(++row);
        ASSERT_EQ(::mkdir(base.c_str(), 0755), 0);
        const std::string target = base + "/made-by-the-save.tac";
        tavtest::MakeFolder(base + "/folder", c.folder);
        const std::string link = base + "/folder/doc.tac";
        tavtest::MakeLink(target, link, c.linkOwner);
        // Save As onto the link's name creates the file it names when it is missing.
        const auto result = tavtest::SaveResult::Of(
            tav::RewriteDocument(link, tavtest::Becomes("[S]\nA=1\n"), nullptr,
                                 tav::RewriteOptions{tav::LeftoverChoice::Refuse, true}));
        ASSERT_FALSE(result.ok) << c.name;
        EXPECT_EQ(result.state, tav::WriteState::Untouched) << c.name;
        EXPECT_TRUE(Holds(result.message, link)) << c.name << ": " << result.message;
        EXPECT_TRUE(Holds(result.message, c.words)) << c.name << ": " << result.message;
        struct stat none {};
        EXPECT_NE(::lstat(target.c_str(), &none), 0) << c.name << ": created through the link";
        EXPECT_TRUE(S_ISLNK(Lstat(link).st_mode)) << c.name;
    }
}

// One test for both settings, so that no other test changes the setting while it runs.
TEST_F(LinkRuleTest, HoldsWithTheKernelsRuleOffAndOn) {
    for (const int rule : {0, 1}) {
        const ProtectedSymlinks kernel(rule);
        if (!kernel.Set()) {
            GTEST_SKIP() << "cannot set /proc/sys/fs/protected_symlinks here";
        }
        SCOPED_TRACE("protected_symlinks " + std::to_string(rule));
        const std::string under = m_dir.File("rule" + std::to_string(rule));
        ASSERT_EQ(::mkdir(under.c_str(), 0755), 0);
        CheckLinks(under + "/");
        CheckDanglingLinks(under + "/");
    }
}

}  // namespace
