// The read-edit-write cycle of a document file: what a save keeps (owner, group, mode, ACL,
// extended attributes, hard links, the inode where it must), where it writes, and how it deals
// with a file that changes under it. Run as root, as the tests are in CI.
#include "storage/documentfile.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>

#include "profile/profiletext.h"
#include "storage/atomicfile.h"
#include "testutil.h"

namespace {

constexpr uid_t kOtherUser = 65534;  // nobody:nogroup
constexpr gid_t kOtherGroup = 65534;

// Sets `key` in section [S] of the current bytes: the edit of the tests.
tav::DocumentEdit SetKey(const std::string& key, const std::string& value, int* calls = nullptr) {
    auto written = std::make_shared<std::string>();  // what the returned bytes point into
    return [=](std::string_view current) -> tav::Expected<tav::SplicedBytes> {
        if (calls != nullptr) {
            ++*calls;
        }
        tav::ProfileText text{std::string(current)};
        if (const tav::Status set = text.Set("S", key, value); !set) {
            return set.Error();
        }
        *written = text.Bytes();
        return tav::SplicedBytes(*written);
    };
}

// The POSIX access ACL as Linux stores it in system.posix_acl_access: owner rw, user `user` rw,
// owning group r, mask rw, others nothing.
std::string AclGivingUserReadWrite(std::uint32_t user) {
    std::string value;
    auto put = [&value](std::uint32_t number, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            value += static_cast<char>((number >> (8 * i)) & 0xFF);
        }
    };
    put(2, 4);  // version
    const std::uint32_t none = 0xFFFFFFFF;
    const std::uint32_t entries[][3] = {
        {0x01, 6, none}, {0x02, 6, user}, {0x04, 4, none}, {0x10, 6, none}, {0x20, 0, none}};
    for (const auto& [tag, perm, id] : entries) {
        put(tag, 2);
        put(perm, 2);
        put(id, 4);
    }
    return value;
}

// Every extended attribute of `path`, by name.
std::map<std::string, std::string> Attributes(const std::string& path) {
    std::string names(::listxattr(path.c_str(), nullptr, 0), '\0');
    names.resize(static_cast<std::size_t>(::listxattr(path.c_str(), names.data(), names.size())));
    std::map<std::string, std::string> attributes;
    for (std::size_t at = 0; at < names.size(); at = names.find('\0', at) + 1) {
        const std::string name = names.c_str() + at;
        std::string value(::getxattr(path.c_str(), name.c_str(), nullptr, 0), '\0');
        value.resize(static_cast<std::size_t>(
            ::getxattr(path.c_str(), name.c_str(), value.data(), value.size())));
        attributes[name] = value;
    }
    return attributes;
}

struct stat Stat(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}

std::set<std::string> NamesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// A document owned by nobody:nogroup, 0640, with an ACL for nobody and a user attribute; false
// when this file system takes no ACL or user attribute.
bool MakeDocumentOfAnotherUser(const std::string& path) {
    tavtest::WriteFile(path, "[S]\nA=1\n");
    EXPECT_EQ(::chown(path.c_str(), kOtherUser, kOtherGroup), 0);
    EXPECT_EQ(::chmod(path.c_str(), 0640), 0);
    const std::string acl = AclGivingUserReadWrite(kOtherUser);
    return ::setxattr(path.c_str(), "user.tav.site", "front", 5, 0) == 0 &&
           ::setxattr(path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0;
}

class DocumentFileTest : public testing::Test {
protected:
    void TearDown() override { tav::SetSaveFaultHookForTesting({}); }
};

struct KeepCase {
    const char* name;
    bool hardLinked;  // a second name for the file: the save must keep the inode
};

TEST_F(DocumentFileTest, SaveByRootKeepsOwnerGroupModeAclAttributesAndLinks) {
    const KeepCase cases[] = {{"renamed", false}, {"inPlaceHardLinked", true}};
    for (const KeepCase& c : cases) {
        tavtest::TempDir dir;
        const std::string path = dir.File("doc.tac");
        if (!MakeDocumentOfAnotherUser(path)) {
            GTEST_SKIP() << "this file system takes no ACL or user extended attribute";
        }
        if (c.hardLinked) {
            ASSERT_EQ(::link(path.c_str(), dir.File("link.tac").c_str()), 0);
        }
        const struct stat before = Stat(path);
        const auto attributes = Attributes(path);
        ASSERT_EQ(attributes.size(), 2u) << c.name;

        ASSERT_TRUE(tav::RewriteDocument(path, SetKey("B", "2"))) << c.name;

        EXPECT_EQ(tavtest::ReadFile(path), "[S]\nA=1\nB=2\n") << c.name;
        const struct stat after = Stat(path);
        EXPECT_EQ(after.st_uid, kOtherUser) << c.name;
        EXPECT_EQ(after.st_gid, kOtherGroup) << c.name;
        EXPECT_EQ(after.st_mode, before.st_mode) << c.name;
        EXPECT_EQ(Attributes(path), attributes) << c.name;
        EXPECT_EQ(after.st_nlink, before.st_nlink) << c.name;
        EXPECT_EQ(after.st_ino == before.st_ino, c.hardLinked) << c.name;
        if (c.hardLinked) {
            EXPECT_EQ(tavtest::ReadFile(dir.File("link.tac")), "[S]\nA=1\nB=2\n") << c.name;
        }
        const std::set<std::string> expected = c.hardLinked
                                                   ? std::set<std::string>{"doc.tac", "link.tac"}
                                                   : std::set<std::string>{"doc.tac"};
        EXPECT_EQ(NamesIn(dir.Path()), expected) << c.name << ": a temporary file was left";
    }
}

TEST_F(DocumentFileTest, BindMountedFileIsWrittenInPlace) {
    tavtest::TempDir dir;
    const std::string source = dir.File("source.tac");
    const std::string mounted = dir.File("mounted.tac");
    tavtest::WriteFile(source, "[S]\nA=1\n");
    tavtest::WriteFile(mounted, "");
    if (::mount(source.c_str(), mounted.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        GTEST_SKIP() << "this machine does not let the test bind-mount a file";
    }
    const tav::Status saved = tav::RewriteDocument(mounted, SetKey("B", "2"));
    const std::string throughSource = tavtest::ReadFile(source);
    ASSERT_EQ(::umount2(mounted.c_str(), MNT_DETACH), 0);
    ASSERT_TRUE(saved) << saved.Error().Message();
    EXPECT_EQ(throughSource, "[S]\nA=1\nB=2\n");
    EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"mounted.tac", "source.tac"}));
}

TEST_F(DocumentFileTest, FolderWithoutRoomForTheSaverIsWrittenInPlaceWithACopyInTheCache) {
    tavtest::TempDir dir;  // root's: nobody may enter but not create files there
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    const std::string path = dir.File("doc.tac");
    tavtest::WriteFile(path, "[S]\nA=1\n");
    ASSERT_EQ(::chown(path.c_str(), kOtherUser, kOtherGroup), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const std::string cache = dir.File("cache");
    std::filesystem::create_directory(cache);
    ASSERT_EQ(::chown(cache.c_str(), kOtherUser, kOtherGroup), 0);
    const ino_t inode = Stat(path).st_ino;

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kOtherGroup) != 0 ||
            ::setuid(kOtherUser) != 0 || ::setenv("XDG_CACHE_HOME", cache.c_str(), 1) != 0) {
            ::_exit(3);
        }
        const tav::Status saved = tav::RewriteDocument(path, SetKey("B", "2"));
        if (!saved) {
            std::fprintf(stderr, "%s\n", saved.Error().Message().c_str());
        }
        ::_exit(saved ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << "the save as nobody failed (see above)";
    EXPECT_EQ(tavtest::ReadFile(path), "[S]\nA=1\nB=2\n");
    EXPECT_EQ(Stat(path).st_ino, inode);
    EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"cache", "doc.tac"}));
    EXPECT_TRUE(NamesIn(cache + "/tavmanager").empty()) << "the copy was not removed";
}

TEST_F(DocumentFileTest, DocumentWithTheLongestNamesSaves) {
    tavtest::TempDir dir;
    const std::string name = std::string(251, 'n') + ".tac";  // 255 bytes, the most a name holds
    const std::string path = dir.File(name);
    tavtest::WriteFile(path, "[S]\nA=1\n");
    const tav::Status saved = tav::RewriteDocument(path, SetKey("A", "2"));
    ASSERT_TRUE(saved) << saved.Error().Message();
    EXPECT_EQ(tavtest::ReadFile(path), "[S]\nA=2\n");
    EXPECT_EQ(NamesIn(dir.Path()), std::set<std::string>{name});
}

TEST_F(DocumentFileTest, UnchangedBytesAreNotWritten) {
    tavtest::TempDir dir;
    const std::string path = dir.File("doc.tac");
    tavtest::WriteFile(path, "[S]\nA=1\n");
    const struct stat before = Stat(path);
    tav::SetSaveFaultHookForTesting([](tav::SaveStep, std::size_t) { return EIO; });
    ASSERT_TRUE(tav::RewriteDocument(path, SetKey("A", "1")));
    EXPECT_EQ(Stat(path).st_ino, before.st_ino);
}

struct ChangeCase {
    const char* name;
    bool hardLinked;  // in place rather than renamed
    int changes;      // how many times the other writer changes the file before the replace
    bool saves;       // whether the save succeeds
    int edits;        // how many times the edit is applied
};

TEST_F(DocumentFileTest, FileChangedBeforeTheReplaceIsReadAndEditedAgain) {
    const ChangeCase cases[] = {
        {"renamedChangedOnce", false, 1, true, 2},
        {"inPlaceChangedOnce", true, 1, true, 2},
        {"keepsChanging", false, 100, false, tav::kRewriteAttempts},
    };
    for (const ChangeCase& c : cases) {
        tavtest::TempDir dir;
        const std::string path = dir.File("doc.tac");
        tavtest::WriteFile(path, "[S]\nA=1\n");
        if (c.hardLinked) {
            ASSERT_EQ(::link(path.c_str(), dir.File("link.tac").c_str()), 0);
        }
        // Another program, which takes no lock, adds a line between the read and the replace.
        int changes = 0;
        tav::SetSaveFaultHookForTesting([&](tav::SaveStep step, std::size_t) {
            if (step == tav::SaveStep::Verify && changes < c.changes) {
                ++changes;
                tavtest::WriteFile(
                    path, tavtest::ReadFile(path) + "X" + std::to_string(changes) + "=other\n");
            }
            return 0;
        });
        int edits = 0;
        const tav::Status saved = tav::RewriteDocument(path, SetKey("B", "2", &edits));
        tav::SetSaveFaultHookForTesting({});
        EXPECT_EQ(edits, c.edits) << c.name;
        const std::string after = tavtest::ReadFile(path);
        EXPECT_NE(after.find("X1=other\n"), std::string::npos) << c.name << ": " << after;
        if (c.saves) {
            ASSERT_TRUE(saved) << c.name << ": " << saved.Error().Message();
            EXPECT_EQ(after, "[S]\nA=1\nX1=other\nB=2\n") << c.name;
        } else {
            ASSERT_FALSE(saved) << c.name;
            EXPECT_EQ(saved.Error().file, path);
            EXPECT_NE(saved.Error().reason.find("kept changing"), std::string::npos)
                << saved.Error().reason;
            EXPECT_EQ(after.find("B=2"), std::string::npos) << c.name << ": " << after;
        }
        const std::size_t names = c.hardLinked ? 2 : 1;
        EXPECT_EQ(NamesIn(dir.Path()).size(), names) << c.name << ": a temporary file was left";
    }
}

TEST_F(DocumentFileTest, NewFileMadeByAnotherProgramMeanwhileIsEditedNotReplaced) {
    tavtest::TempDir dir;
    const std::string path = dir.File("new.tac");
    bool created = false;
    tav::SetSaveFaultHookForTesting([&](tav::SaveStep step, std::size_t) {
        if (step == tav::SaveStep::Rename && !created) {
            created = true;
            tavtest::WriteFile(path, "[S]\nA=theirs\n");
        }
        return 0;
    });
    int edits = 0;
    ASSERT_TRUE(tav::RewriteDocument(path, SetKey("B", "mine", &edits)));
    EXPECT_EQ(edits, 2);
    EXPECT_EQ(tavtest::ReadFile(path), "[S]\nA=theirs\nB=mine\n");
    EXPECT_EQ(NamesIn(dir.Path()), std::set<std::string>{"new.tac"});
}

}  // namespace
