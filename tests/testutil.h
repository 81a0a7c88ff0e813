// Small helpers shared by the tests: a temporary folder and whole-file access.
#pragma once

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "document/configdocument.h"
#include "document/documentstorage.h"
#include "document/documenttable.h"
#include "profile/profilelookup.h"

namespace tavtest {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir final {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // The path of `name` inside the folder.
    std::string File(const std::string& name) const;

private:
    std::string m_path;
};

// Writes `bytes` to `path`, failing the test (by exception) when it cannot.
void WriteFile(const std::string& path, const std::string& bytes);

// The bytes of `path`; fails the test (by exception) when it cannot be read.
std::string ReadFile(const std::string& path);

// Text with every "\n" turned into "\r\n", for fixtures written as plain literals.
std::string Crlf(const std::string& text);

// A source of the document `bytes` (which must outlive it) giving them in pieces of random sizes,
// as reads of a file may; past `readable` bytes it fails with "doc.tac: Input/output error", as a
// file whose tail cannot be read.
tav::ByteSource RandomPieces(const std::string& bytes, std::mt19937& random,
                             std::size_t readable = std::string::npos);

// Opens the file at `path` into `document` as the editor opens it (DocumentStorage::Open), for
// tests of what follows the open rather than of saving.
tav::Expected<std::vector<std::string>> OpenFile(
    tav::ConfigDocument& document, const std::string& path, const std::string& name,
    tav::MissingFile missing = tav::MissingFile::OpensEmpty);

// Saves `document` whole, stamped with `stamp`, over whatever its file holds (or, with `path`,
// to that file under `name`), through a storage of its own.
tav::Status SaveFile(tav::ConfigDocument& document, const std::string& stamp);
tav::Status SaveFileAs(tav::ConfigDocument& document, const std::string& path,
                       const std::string& name, const std::string& stamp);

// What a save gave, as a Status: its error, or an error saying why nothing was written when it
// ended otherwise than Saved.
tav::Status AsStatus(const tav::Expected<tav::SaveOutcome>& saved);

// A request to save the document as `scope` says, over whatever its file holds; with `path`, to
// that file under `name` (Save As).
tav::SaveRequest SaveOf(tav::SaveRequest::Scope scope = tav::SaveRequest::Scope::WholeDocument,
                        const std::string& path = {}, const std::string& name = {});

// A clock for saves that always gives `text`.
tav::SaveClock FixedClock(const std::string& text);

// The document table of a field catalogue read from `fieldText` (the text of a Fields.txt).
tav::DocumentTable TableOf(std::string_view fieldText);

}  // namespace tavtest
