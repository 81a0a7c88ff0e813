#include "testutil.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace tavtest {

namespace {

// A new folder under the system's temporary folder. Windows has no mkdtemp: there random names are
// tried until create_directory makes a folder that was not there (it fails on a name taken), and
// the path is written with "/", as the tests join names to it.
std::string MakeTemporaryFolder() {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
#ifdef _WIN32
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path path = base / ("tavtest." + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(path, error)) {
            return path.generic_string();
        }
        if (error) {
            throw std::runtime_error("cannot create a temporary folder in " + base.string() +
                                     ": " + error.message());
        }
    }
    throw std::runtime_error("cannot create a temporary folder in " + base.string() +
                             ": every name tried is taken");
#else
    std::string pattern = (base / "tavtest.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    return pattern;
#endif
}

}  // namespace

TempDir::TempDir() : m_path(MakeTemporaryFolder()) {}

TempDir::~TempDir() {
    std::error_code ignored;
    // Restore write permission first, so that tests which made parts read-only still clean up.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_path, ignored)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::File(const std::string& name) const {
    return m_path + "/" + name;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.good()) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in.good()) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Crlf(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

tav::ByteSource RandomPieces(const std::string& bytes, std::mt19937& random, std::size_t readable) {
    const std::size_t end = std::min(readable, bytes.size());
    auto at = std::make_shared<std::size_t>(0);
    return [&bytes, &random, end, at](char* into, std::size_t room) -> tav::Expected<std::size_t> {
        if (*at == end && end < bytes.size()) {
            return tav::FileError{"doc.tac", "Input/output error"};
        }
        // Mostly a few bytes, to cut lines and sequences anywhere; at times more.
        const std::size_t wanted = random() % 2 == 0 ? 1 + random() % 3 : 1 + random() % 64;
        const std::size_t size = std::min({room, wanted, end - *at});
        std::copy_n(bytes.data() + *at, size, into);
        *at += size;
        return size;
    };
}

tav::Expected<std::vector<std::string>> OpenFile(tav::ConfigDocument& document,
                                                 const std::string& path, const std::string& name,
                                                 tav::MissingFile missing) {
    return tav::DocumentStorage(document, FixedClock("now")).Open(path, name, missing);
}

tav::Status SaveFile(tav::ConfigDocument& document, const std::string& stamp) {
    return AsStatus(tav::DocumentStorage(document, FixedClock(stamp)).Save(SaveOf()));
}

tav::Status SaveFileAs(tav::ConfigDocument& document, const std::string& path,
                       const std::string& name, const std::string& stamp) {
    return AsStatus(tav::DocumentStorage(document, FixedClock(stamp))
                        .Save(SaveOf(tav::SaveRequest::Scope::WholeDocument, path, name)));
}

tav::Status AsStatus(const tav::Expected<tav::SaveOutcome>& saved) {
    if (!saved) {
        return saved.Error();
    }
    if (*saved != tav::SaveOutcome::Saved) {
        return tav::FileError{"", "not saved, outcome " + std::to_string(static_cast<int>(*saved))};
    }
    return {};
}

tav::SaveRequest SaveOf(tav::SaveRequest::Scope scope, const std::string& path,
                        const std::string& name) {
    tav::SaveRequest request;
    request.scope = scope;
    if (!path.empty()) {
        request.path = path;
        request.name = name;
    }
    return request;
}

tav::SaveClock FixedClock(const std::string& text) {
    return [text] { return text; };
}

tav::DocumentTable TableOf(std::string_view fieldText) {
    tav::FieldCatalog catalogue;
    catalogue.LoadText(fieldText);
    return tav::DocumentTable(catalogue);
}

}  // namespace tavtest
