// The Windows half of the save cycle, run under Wine in CI: what a save keeps (bytes it did not
// change, attributes, hard links, the ACL), what it refuses (a read-only file, a link another
// user planted), the lock, and a save that stops part-way.
#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "base/win32/widepath.h"
#include "profile/profiletext.h"
#include "storage/atomicfile.h"
#include "storage/documentfile.h"
#include "storage/filelock.h"
#include "storage/leftovers.h"

namespace {

// A fresh folder under %TEMP%, removed at the end (read-only attributes first taken off).
class WinTempDir final {
public:
    WinTempDir() {
        wchar_t base[MAX_PATH + 1];
        ::GetTempPathW(MAX_PATH, base);
        std::mt19937 random{std::random_device{}()};
        m_path = tav::Narrow(base) + "tavwin." + std::to_string(random());
        if (!::CreateDirectoryW(tav::Widen(m_path).c_str(), nullptr)) {
            throw std::runtime_error("cannot create " + m_path);
        }
    }
    ~WinTempDir() {
        WIN32_FIND_DATAW entry{};
        const HANDLE listing = ::FindFirstFileW(tav::Widen(m_path + "\\*").c_str(), &entry);
        if (listing != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring file = tav::Widen(m_path + "\\") + entry.cFileName;
                ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(file.c_str());
            } while (::FindNextFileW(listing, &entry));
            ::FindClose(listing);
        }
        ::RemoveDirectoryW(tav::Widen(m_path).c_str());
    }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(tav::Widen(path)), std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.good()) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string Read(const std::string& path) {
    std::ifstream in(std::filesystem::path(tav::Widen(path)), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

DWORD Attributes(const std::string& path) {
    return ::GetFileAttributesW(tav::Widen(path).c_str());
}

// Sets `key` in section [S]: the edit of the tests.
tav::DocumentEdit SetKey(const std::string& key, const std::string& value) {
    auto written = std::make_shared<std::string>();
    return [=](std::string_view current) -> tav::Expected<tav::SplicedBytes> {
        tav::ProfileText text{std::string(current)};
        if (const tav::Status set = text.Set("S", key, value); !set) {
            return set.Error();
        }
        *written = text.Bytes();
        return tav::SplicedBytes(*written);
    };
}

// The DACL of `path` in SDDL ("" when it cannot be read).
std::string Dacl(const std::string& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoW(tav::Widen(path).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                nullptr, nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return {};
    }
    LPWSTR text = nullptr;
    std::string sddl;
    if (::ConvertSecurityDescriptorToStringSecurityDescriptorW(
            descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr)) {
        sddl = tav::Narrow(text);
        ::LocalFree(text);
    }
    ::LocalFree(descriptor);
    return sddl;
}

const std::string kCrlf1252 =
    "[S]\r\nName=Gr\xF6\xDF"
    "e\r\nKeep= spaced \r\n\x1A tail\r\n";

// Every byte the edit did not change stays, whatever the route the save takes.
TEST(WindowsSave, KeepsEveryByteItDidNotChange) {
    struct Case {
        const char* name;
        DWORD attributes;  // set before the save, must be there after it
        bool hardLink;     // a second name: the save must write in place
        bool heldOpen;     // another program holds it open without sharing its removal
    };
    const Case cases[] = {
        {"plain", FILE_ATTRIBUTE_NORMAL, false, false},
        {"hiddenSystem", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, false, false},
        {"hardLink", FILE_ATTRIBUTE_NORMAL, true, false},
        {"heldOpenWithoutDeleteSharing", FILE_ATTRIBUTE_NORMAL, false, true},
    };
    for (const Case& c : cases) {
        WinTempDir dir;
        const std::string path = dir.File("doc.tac");
        Write(path, kCrlf1252);
        const std::string link = dir.File("other name.tac");
        if (c.hardLink) {
            ASSERT_TRUE(
                ::CreateHardLinkW(tav::Widen(link).c_str(), tav::Widen(path).c_str(), nullptr))
                << c.name;
        }
        ::SetFileAttributesW(tav::Widen(path).c_str(), c.attributes);
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.heldOpen) {
            held = ::CreateFileW(tav::Widen(path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                 nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE) << c.name;
        }
        tav::WrittenContent written;
        const tav::Status saved = tav::RewriteDocument(path, SetKey("Name", "Neu"), &written);
        ASSERT_TRUE(saved) << c.name << ": " << saved.Error().Message();
        if (held != INVALID_HANDLE_VALUE) {
            ::CloseHandle(held);
        }
        const std::string expected = "[S]\r\nName=Neu\r\nKeep= spaced \r\n\x1A tail\r\n";
        EXPECT_EQ(Read(path), expected) << c.name;
        if (c.hardLink) {
            EXPECT_EQ(Read(link), expected) << c.name << ": the other name lost the save";
        }
        const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        EXPECT_EQ(Attributes(path) & kept, c.attributes & kept) << c.name;
        EXPECT_EQ(written.size, expected.size()) << c.name;
        const tav::Expected<tav::Leftovers> left = tav::FindLeftovers(path);
        ASSERT_TRUE(left) << c.name;
        EXPECT_TRUE(left->copy.empty() && left->temps.empty()) << c.name << ": " << left->copy;
    }
}

TEST(WindowsSave, PathsInEveryForm) {
    WinTempDir dir;
    const std::string folder = dir.File("a folder \xC3\xA4");
    ASSERT_TRUE(::CreateDirectoryW(tav::Widen(folder).c_str(), nullptr));
    std::string deep = folder;
    while (deep.size() < 300) {  // past MAX_PATH: only the long form reaches it
        deep += "\\" + std::string(40, 'd');
        ASSERT_TRUE(::CreateDirectoryW(tav::LongPath(deep).c_str(), nullptr)) << deep;
    }
    const std::string forward = folder +
                                "/Gr\xC3\xB6\xC3\x9F"
                                "e.tac";
    const std::string cases[] = {folder + "\\new.tac", forward, deep + "\\doc.tac"};
    for (const std::string& path : cases) {
        const tav::Status created = tav::RewriteDocument(path, SetKey("K", "1"));
        ASSERT_TRUE(created) << path << ": " << created.Error().Message();
        const tav::Status saved = tav::RewriteDocument(path, SetKey("K", "2"));
        ASSERT_TRUE(saved) << path << ": " << saved.Error().Message();
        std::ifstream in(std::filesystem::path(tav::LongPath(path)), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        EXPECT_NE(bytes.str().find("K=2"), std::string::npos) << path;
    }
    const tav::Status missing =
        tav::RewriteDocument(dir.File("no folder\\doc.tac"), SetKey("K", "1"));
    ASSERT_FALSE(missing);
    EXPECT_TRUE(missing.Error().Missing()) << missing.Error().Message();
    EXPECT_EQ(missing.Error().state, tav::WriteState::Untouched);
}

TEST(WindowsSave, RefusesWhatItMustNotWrite) {
    WinTempDir dir;
    const std::string readOnly = dir.File("ro.tac");
    Write(readOnly, kCrlf1252);
    ::SetFileAttributesW(tav::Widen(readOnly).c_str(), FILE_ATTRIBUTE_READONLY);
    const tav::Status refused = tav::RewriteDocument(readOnly, SetKey("Name", "x"));
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.Error().reason.find("read-only"), std::string::npos)
        << refused.Error().Message();
    EXPECT_EQ(refused.Error().state, tav::WriteState::Untouched);
    EXPECT_EQ(Read(readOnly), kCrlf1252);
    EXPECT_NE(Attributes(readOnly) & FILE_ATTRIBUTE_READONLY, 0u);

    const tav::Status folder = tav::RewriteDocument(dir.File(""), SetKey("Name", "x"));
    ASSERT_FALSE(folder);
    EXPECT_NE(folder.Error().reason.find("folder"), std::string::npos);
}

TEST(WindowsSave, WaitsForTheLockAndGivesUpSayingSo) {
    WinTempDir dir;
    const std::string path = dir.File("doc.tac");
    Write(path, kCrlf1252);
    // Another saver's lock: the same byte, taken through a handle of its own.
    const HANDLE other = ::CreateFileW(tav::Widen(path).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    OVERLAPPED at{};
    at.OffsetHigh = 0x7FFFFFFF;
    ASSERT_TRUE(
        ::LockFileEx(other, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at));
    int told = 0;
    {
        const tav::LockWaitReport report(
            [&told](const std::string&, const tav::LockHolder&, std::chrono::milliseconds waited) {
                ++told;
                return waited < std::chrono::milliseconds(300);
            });
        const tav::Status saved = tav::RewriteDocument(path, SetKey("Name", "x"));
        ASSERT_FALSE(saved);
        EXPECT_NE(saved.Error().reason.find("locked"), std::string::npos)
            << saved.Error().Message();
        EXPECT_EQ(saved.Error().state, tav::WriteState::Untouched);
    }
    EXPECT_GT(told, 1);
    EXPECT_EQ(Read(path), kCrlf1252);
    // Readers are not in the lock's way: it is far past the content.
    EXPECT_EQ(Read(path), kCrlf1252);
    ::UnlockFileEx(other, 0, 1, 0, &at);
    ::CloseHandle(other);
    EXPECT_TRUE(tav::RewriteDocument(path, SetKey("Name", "x")));
}

TEST(WindowsSave, KeepsTheAcl) {
    WinTempDir dir;
    const std::string path = dir.File("doc.tac");
    Write(path, kCrlf1252);
    // Everyone may read, and inheritance from the folder is cut: a new file would not get this.
    PSECURITY_DESCRIPTOR wanted = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:P(A;;FA;;;WD)(A;;FR;;;BU)", SDDL_REVISION_1, &wanted, nullptr));
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL acl = nullptr;
    ::GetSecurityDescriptorDacl(wanted, &present, &acl, &defaulted);
    const DWORD set =
        ::SetNamedSecurityInfoW(tav::Widen(path).data(), SE_FILE_OBJECT,
                                DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                nullptr, nullptr, acl, nullptr);
    ::LocalFree(wanted);
    const std::string before = Dacl(path);
    if (set != ERROR_SUCCESS || before.find("BU") == std::string::npos) {
        GTEST_SKIP() << "this system does not keep a file's ACL (SetNamedSecurityInfoW: " << set
                     << ", read back \"" << before << "\")";
    }
    ASSERT_TRUE(tav::RewriteDocument(path, SetKey("Name", "x")));
    EXPECT_EQ(Dacl(path), before);
}

TEST(WindowsSave, AStoppedInPlaceWriteLeavesACompleteCopyThatRestores) {
    WinTempDir dir;
    const std::string path = dir.File("doc.tac");
    Write(path, kCrlf1252);
    ASSERT_TRUE(::CreateHardLinkW(tav::Widen(dir.File("link.tac")).c_str(),
                                  tav::Widen(path).c_str(), nullptr));
    tav::SetSaveFaultHookForTesting([](tav::SaveStep step, std::size_t) {
        return step == tav::SaveStep::Truncate ? ENOSPC : 0;
    });
    const tav::Status stopped = tav::RewriteDocument(path, SetKey("Name", "Neu"));
    tav::SetSaveFaultHookForTesting({});
    ASSERT_FALSE(stopped);
    EXPECT_EQ(stopped.Error().state, tav::WriteState::Incomplete);
    ASSERT_FALSE(stopped.Error().copy.empty());
    const std::string complete = "[S]\r\nName=Neu\r\nKeep= spaced \r\n\x1A tail\r\n";
    EXPECT_EQ(Read(stopped.Error().copy), complete);

    const tav::Status refused = tav::RewriteDocument(path, SetKey("Other", "1"));
    ASSERT_FALSE(refused) << "a save over an unfinished one must not go on silently";
    EXPECT_NE(refused.Error().reason.find(stopped.Error().copy), std::string::npos);
    const tav::Expected<tav::Leftovers> left = tav::FindLeftovers(path);
    ASSERT_TRUE(left);
    EXPECT_TRUE(left->Unfinished());

    ASSERT_TRUE(tav::RestoreLeftoverCopy(path));
    EXPECT_EQ(Read(path), complete);
    EXPECT_EQ(Read(dir.File("link.tac")), complete);
    EXPECT_FALSE(tav::FindLeftovers(path)->Unfinished());
}

TEST(WindowsSave, AFailedStepBeforeTheReplacementLeavesTheFileAsItWas) {
    const tav::SaveStep steps[] = {tav::SaveStep::CreateTemp, tav::SaveStep::Write,
                                   tav::SaveStep::Sync, tav::SaveStep::Verify,
                                   tav::SaveStep::Rename};
    for (const tav::SaveStep failing : steps) {
        WinTempDir dir;
        const std::string path = dir.File("doc.tac");
        Write(path, kCrlf1252);
        tav::SetSaveFaultHookForTesting(
            [failing](tav::SaveStep step, std::size_t) { return step == failing ? EIO : 0; });
        const tav::Status saved = tav::RewriteDocument(path, SetKey("Name", "x"));
        tav::SetSaveFaultHookForTesting({});
        ASSERT_FALSE(saved) << static_cast<int>(failing);
        EXPECT_EQ(saved.Error().state, tav::WriteState::Untouched) << static_cast<int>(failing);
        EXPECT_EQ(Read(path), kCrlf1252) << static_cast<int>(failing);
        const tav::Expected<tav::Leftovers> left = tav::FindLeftovers(path);
        ASSERT_TRUE(left);
        EXPECT_TRUE(left->temps.empty() && left->copy.empty()) << static_cast<int>(failing);
    }
}

}  // namespace
