// tacconf.exe as Windows users and scripts start it: UTF-16 command lines with any characters,
// Windows paths, output on pipes, documents in CR LF and Windows-1252, and files that another
// process locks or whose attributes and ACL the save must keep.
#include <aclapi.h>
#include <sddl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include "base/win32/widepath.h"
#include "testutil.h"
#include "win32/winprocess.h"

namespace {

using tavtest::Backslashed;
using tavtest::ExeOptions;
using tavtest::ExeRun;
using tavtest::RunExe;

// A CR LF document in Windows-1252 ("Gr\xF6\xDFe" is "Größe"), with a comment and a key no
// catalogue describes, which every save must keep as they are.
const std::string kDocument =
    "; Kasse \xE4u\xDF"
    "ere Halle\r\n"
    "[General]\r\n"
    "Title=Gr\xF6\xDF"
    "e\r\n"
    "Beep=1\r\n"
    "Extra = kept  as is\r\n"
    "\r\n"
    "[Columns]\r\n"
    "FontSize=10\r\n";

std::string Tacconf() {
    return tavtest::TestProgramFolder() + "\\tacconf.exe";
}

std::string Catalogues() {
    return tavtest::TestProgramFolder();
}

// kDocument with the line `from` replaced by `to`.
std::string DocumentWith(const std::string& from, const std::string& to) {
    std::string bytes = kDocument;
    bytes.replace(bytes.find(from), from.size(), to);
    return bytes;
}

// A folder with a blank in its name holding "Größe.tac" (kDocument), made through the wide API.
class DocumentFolder final {
public:
    DocumentFolder()
        : m_folder(Backslashed(m_temp.Path()) + "\\mit Leerzeichen"),
          m_file(m_folder +
                 "\\Gr\xC3\xB6\xC3\x9F"
                 "e.tac") {
        EXPECT_NE(::CreateDirectoryW(tav::Widen(m_folder).c_str(), nullptr), 0);
        Write(kDocument);
    }
    const std::string& Folder() const { return m_folder; }
    const std::string& File() const { return m_file; }
    std::wstring Wide() const { return tav::Widen(m_file); }

    void Write(const std::string& bytes) const {
        HANDLE file = ::CreateFileW(Wide().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        EXPECT_NE(
            ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr),
            0);
        ::CloseHandle(file);
    }
    std::string Read() const {
        HANDLE file = ::CreateFileW(Wide().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        std::string bytes;
        char buffer[4096];
        DWORD read = 0;
        while (file != INVALID_HANDLE_VALUE &&
               ::ReadFile(file, buffer, sizeof buffer, &read, nullptr) != 0 && read > 0) {
            bytes.append(buffer, read);
        }
        ::CloseHandle(file);
        return bytes;
    }

private:
    tavtest::TempDir m_temp;
    std::string m_folder;
    std::string m_file;
};

TEST(TacconfExeTest, EveryShapeOfPathReachesTheDocument) {
    const DocumentFolder doc;
    struct Row {
        const char* name;
        std::string path;
        std::string folder;  // the working folder
    };
    const std::string name =
        "Gr\xC3\xB6\xC3\x9F"
        "e.tac";
    std::string forward = doc.File();
    for (char& c : forward) {
        c = c == '\\' ? '/' : c;
    }
    const Row rows[] = {
        {"backslashes", doc.File(), {}},
        {"forward slashes", forward, {}},
        {"relative", name, doc.Folder()},
        {"relative with a dot", ".\\" + name, doc.Folder()},
        {"relative to a parent", "..\\mit Leerzeichen\\" + name, doc.Folder()},
        {"from the drive's root", doc.File().substr(2), doc.Folder()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ExeOptions options;
        options.folder = row.folder;
        const ExeRun get = RunExe(
            Tacconf(), {"--catalogues", Catalogues(), "get", row.path, "General.Title"}, options);
        EXPECT_EQ(get.exit, 0u) << get.err;
        EXPECT_EQ(get.out,
                  "Gr\xC3\xB6\xC3\x9F"
                  "e\n");  // UTF-8, LF as on every platform

        const ExeRun set = RunExe(Tacconf(),
                                  {"--catalogues", Catalogues(), "set", row.path, "General.Title",
                                   "\xC3\x84nderung \xE2\x82\xAC"},
                                  options);
        EXPECT_EQ(set.exit, 0u) << set.err;
        // Only the value changed, in the document's own encoding (the euro is 0x80 there).
        EXPECT_EQ(doc.Read(), DocumentWith("Title=Gr\xF6\xDF"
                                           "e",
                                           "Title=\xC4nderung \x80"));
        doc.Write(kDocument);

        const ExeRun check =
            RunExe(Tacconf(), {"--catalogues", Catalogues(), "check", row.path}, options);
        // The key no catalogue describes is reported at its line, under the name given.
        EXPECT_EQ(check.exit, 1u) << check.err;
        EXPECT_NE(check.out.find("e.tac:5: the key Extra"), std::string::npos) << check.out;
    }
}

TEST(TacconfExeTest, PipedOutputIsTheBytesWritten) {
    const DocumentFolder doc;
    ExeOptions options;
    options.input = kDocument;
    const ExeRun piped = RunExe(
        Tacconf(), {"--catalogues", Catalogues(), "set", "-", "General.Beep", "False"}, options);
    EXPECT_EQ(piped.exit, 0u) << piped.err;
    EXPECT_EQ(piped.out, DocumentWith("Beep=1", "Beep=0"));  // CR LF, no "\r\r\n"

    const ExeRun all = RunExe(Tacconf(), {"--catalogues", Catalogues(), "get", doc.File(),
                                          "General.Title", "Columns.FontSize"});
    EXPECT_EQ(all.out,
              "Gr\xC3\xB6\xC3\x9F"
              "e\n10\n");
    const ExeRun version = RunExe(Tacconf(), {"--version"});
    EXPECT_EQ(version.out.find('\r'), std::string::npos);
}

TEST(TacconfExeTest, ALockHeldByAnotherProcessMakesSetWaitThenGiveUp) {
    const DocumentFolder doc;
    HANDLE held = ::CreateFileW(doc.Wide().c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    // The byte every saver locks, far past the end of any document.
    OVERLAPPED at{};
    at.Offset = 0x00000000;
    at.OffsetHigh = 0x7FFFFFFF;
    ASSERT_NE(::LockFileEx(held, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at), 0);

    const ExeRun locked = RunExe(Tacconf(), {"--catalogues", Catalogues(), "set", "--wait", "1",
                                             doc.File(), "General.Beep", "False"});
    EXPECT_EQ(locked.exit, 2u);
    EXPECT_NE(locked.err.find("Gr\xC3\xB6\xC3\x9F"
                              "e.tac"),
              std::string::npos)
        << locked.err;
    EXPECT_NE(locked.err.find("lock"), std::string::npos) << locked.err;
    EXPECT_EQ(doc.Read(), kDocument);

    ::UnlockFileEx(held, 0, 1, 0, &at);
    ::CloseHandle(held);
    const ExeRun free = RunExe(
        Tacconf(), {"--catalogues", Catalogues(), "set", doc.File(), "General.Beep", "False"});
    EXPECT_EQ(free.exit, 0u) << free.err;
    EXPECT_EQ(doc.Read(), DocumentWith("Beep=1", "Beep=0"));
}

TEST(TacconfExeTest, AttributesDecideAndSurviveTheSave) {
    const DocumentFolder doc;
    ASSERT_NE(::SetFileAttributesW(doc.Wide().c_str(), FILE_ATTRIBUTE_READONLY), 0);
    const ExeRun readOnly = RunExe(
        Tacconf(), {"--catalogues", Catalogues(), "set", doc.File(), "General.Beep", "False"});
    EXPECT_EQ(readOnly.exit, 2u);
    EXPECT_NE(readOnly.err.find("Gr\xC3\xB6\xC3\x9F"
                                "e.tac"),
              std::string::npos)
        << readOnly.err;
    EXPECT_EQ(doc.Read(), kDocument);
    EXPECT_NE(::GetFileAttributesW(doc.Wide().c_str()) & FILE_ATTRIBUTE_READONLY, 0u);

    ASSERT_NE(::SetFileAttributesW(doc.Wide().c_str(), FILE_ATTRIBUTE_HIDDEN), 0);
    const ExeRun hidden = RunExe(
        Tacconf(), {"--catalogues", Catalogues(), "set", doc.File(), "General.Beep", "False"});
    EXPECT_EQ(hidden.exit, 0u) << hidden.err;
    EXPECT_EQ(doc.Read(), DocumentWith("Beep=1", "Beep=0"));
    EXPECT_NE(::GetFileAttributesW(doc.Wide().c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    ::SetFileAttributesW(doc.Wide().c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The document's DACL as text, or empty when it cannot be read.
std::wstring DaclOf(const std::wstring& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL dacl = nullptr;
    if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return {};
    }
    wchar_t* text = nullptr;
    std::wstring out;
    if (::ConvertSecurityDescriptorToStringSecurityDescriptorW(
            descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr) != 0) {
        out = text;
        ::LocalFree(text);
    }
    ::LocalFree(descriptor);
    return out;
}

TEST(TacconfExeTest, ASaveKeepsTheDocumentsAcl) {
    const DocumentFolder doc;
    // Everyone may read, the administrators may do anything, inherited entries are cut off.
    const wchar_t* const wanted = L"D:P(A;;FR;;;WD)(A;;FA;;;BA)";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_NE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(wanted, SDDL_REVISION_1,
                                                                     &descriptor, nullptr),
              0);
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    ::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
    const DWORD set =
        ::SetNamedSecurityInfoW(const_cast<wchar_t*>(doc.Wide().c_str()), SE_FILE_OBJECT,
                                DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                nullptr, nullptr, dacl, nullptr);
    ::LocalFree(descriptor);
    const std::wstring before = DaclOf(doc.Wide());
    if (set != ERROR_SUCCESS || before != wanted) {
        GTEST_SKIP() << "this system does not keep a file's ACL as set (SetNamedSecurityInfoW: "
                     << set << ", read back: " << tav::Narrow(before) << ")";
    }
    const ExeRun saved = RunExe(
        Tacconf(), {"--catalogues", Catalogues(), "set", doc.File(), "General.Beep", "False"});
    EXPECT_EQ(saved.exit, 0u) << saved.err;
    EXPECT_EQ(doc.Read(), DocumentWith("Beep=1", "Beep=0"));
    EXPECT_EQ(tav::Narrow(DaclOf(doc.Wide())), tav::Narrow(before));
}

// Copies `from` to `to` through the wide API.
void CopyInto(const std::string& from, const std::string& to) {
    ASSERT_NE(::CopyFileW(tav::Widen(from).c_str(), tav::Widen(to).c_str(), FALSE), 0) << to;
}

// Makes `folder` and puts the example catalogues in it.
void CatalogueFolder(const std::string& folder) {
    ASSERT_NE(::CreateDirectoryW(tav::Widen(folder).c_str(), nullptr), 0) << folder;
    for (const char* name : {"\\Sections.txt", "\\Fields.txt"}) {
        CopyInto(Catalogues() + name, folder + name);
    }
}

TEST(TacconfExeTest, CataloguesAreFoundWhereWindowsUsersKeepThem) {
    const DocumentFolder doc;
    const tavtest::TempDir temp;
    const std::string root = Backslashed(temp.Path());
    const std::string program = root + "\\bin\\tacconf.exe";
    ASSERT_NE(::CreateDirectoryW(tav::Widen(root + "\\bin").c_str(), nullptr), 0);
    CopyInto(Tacconf(), program);
    const std::string roaming = root + "\\Roaming \xC3\xBC";
    const std::string shared = root + "\\ProgramData";
    ASSERT_NE(::CreateDirectoryW(tav::Widen(roaming).c_str(), nullptr), 0);
    ASSERT_NE(::CreateDirectoryW(tav::Widen(shared).c_str(), nullptr), 0);
    ExeOptions options;
    options.environment = {{"APPDATA", roaming}, {"PROGRAMDATA", shared}};
    const std::vector<std::string> get = {"get", doc.File(), "General.Title"};

    const ExeRun none = RunExe(program, get, options);
    EXPECT_EQ(none.exit, 2u);
    for (const std::string& folder :
         {root + "\\bin", roaming + "\\tavmanager", shared + "\\tavmanager"}) {
        EXPECT_NE(none.err.find(folder), std::string::npos) << folder << "\n" << none.err;
    }

    CatalogueFolder(shared + "\\tavmanager");
    EXPECT_EQ(RunExe(program, get, options).out,
              "Gr\xC3\xB6\xC3\x9F"
              "e\n");
    CatalogueFolder(roaming + "\\tavmanager");
    EXPECT_EQ(RunExe(program, get, options).out,
              "Gr\xC3\xB6\xC3\x9F"
              "e\n");
    for (const char* name : {"\\Sections.txt", "\\Fields.txt"}) {
        CopyInto(Catalogues() + name, root + "\\bin" + name);
    }
    // Beside the program: a catalogue that lacks Title makes the get fail, which shows that the
    // program's folder comes before the others.
    tavtest::WriteFile(temp.Path() + "/bin/Fields.txt", "Beep on error,Beep,B,N,2\n");
    const ExeRun beside = RunExe(program, get, options);
    EXPECT_EQ(beside.exit, 2u) << beside.out;
}

TEST(TacconfExeTest, TheFolderChosenInTheEditorComesFromTheRegistry) {
    const DocumentFolder doc;
    const tavtest::TempDir temp;
    const std::string chosen = Backslashed(temp.Path()) + "\\Gew\xC3\xA4hlt";
    CatalogueFolder(chosen);
    const std::wstring key = L"Software\\Wrn.Applications\\tavmanager\\Catalogues";
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Folder", REG_SZ,
                                tav::Widen(chosen).c_str(),
                                static_cast<DWORD>((tav::Widen(chosen).size() + 1) * 2)),
              ERROR_SUCCESS);
    const tavtest::TempDir lonely;
    const std::string program = Backslashed(lonely.Path()) + "\\tacconf.exe";
    CopyInto(Tacconf(), program);
    ExeOptions options;
    options.environment = {{"APPDATA", ""}, {"PROGRAMDATA", ""}};
    const ExeRun found = RunExe(program, {"get", doc.File(), "General.Title"}, options);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wrn.Applications\\tavmanager");
    EXPECT_EQ(found.exit, 0u) << found.err;
    EXPECT_EQ(found.out,
              "Gr\xC3\xB6\xC3\x9F"
              "e\n");
}

}  // namespace
