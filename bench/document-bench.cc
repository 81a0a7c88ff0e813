// Open, save and set of documents with full catalogues (64 sections, 128 rows of which 13 are
// replacements), in two shapes, each measured against the physical floor of the same run: reading
// the same bytes into memory, and writing them durably (write, flush to disk, rename). A table of
// the ratios against the floor follows the figures.
//
// `bench-document --write-documents DIR` writes the catalogues and the documents the process-level
// benchmarks (bench/peers.py, bench/firstopen.py) use into DIR instead, and runs nothing.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalog/catalogues.h"
#include "document/configdocument.h"
#include "document/documentio.h"
#include "document/documentstorage.h"
#include "tree/configtree.h"

namespace {

[[noreturn]] void Die(const std::string& what, int error) {
    std::fprintf(stderr, "bench-document: %s: %s\n", what.c_str(), std::strerror(error));
    std::exit(2);
}

const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavbench.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            Die("cannot create a folder like " + pattern, errno);
        }
        return pattern;
    }();
    return folder;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        Die("cannot create " + path, errno);
    }
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR) {
            Die("cannot write " + path, errno);
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    if (::close(fd) != 0) {
        Die("cannot write " + path, errno);
    }
}

// --- The floor ---

// Reads the file at `path` with plain read(2) calls into a buffer allocated for it and left
// uninitialised: what any reader that keeps the bytes in memory pays at least. Returns the size, or
// -1 (errno set) on failure.
ssize_t FloorRead(const std::string& path, std::unique_ptr<char[]>& buffer) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return -1;
    }
    // One byte more than the size, so that a file that grew since fstat is seen to.
    const auto capacity = static_cast<std::size_t>(info.st_size) + 1;
    buffer.reset(new char[capacity]);  // not value-initialised: no pass over the bytes
    std::size_t done = 0;
    while (done < capacity) {
        const ssize_t n = ::read(fd, buffer.get() + done, capacity - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            errno = error;
            return -1;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return static_cast<ssize_t>(done);
}

// Writes `size` bytes durably as a save must: into a new file, flushed to disk, renamed over
// `target`. False (errno set) on failure.
bool FloorWrite(const char* bytes, std::size_t size, const std::string& temp,
                const std::string& target) {
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    const bool written = ::write(fd, bytes, size) == static_cast<ssize_t>(size) && ::fsync(fd) == 0;
    return (::close(fd) == 0 && written) && ::rename(temp.c_str(), target.c_str()) == 0;
}

// --- Catalogues and documents ---

constexpr int kSections = 64;      // TACInfo (id 1), Section2 ... Section63, Replace (id 64)
constexpr int kFields = 113;       // Key0 ... Key112 besides Version and Updated
constexpr int kReplacements = 13;  // fill the table's 128 rows
constexpr int kReplaceId = kSections;
constexpr int kLastSectionId = 63;          // the last section of a spread document
constexpr int kLastKey = 61;                // its one key: Section63.Key61 (a text)
constexpr std::size_t kSectionBytes = 300;  // the size of a section in a spread document

// 64 sections (the first "TACInfo", the last the replacement section, every fourth ordered) and
// 115 fields, so that 13 replacements fill the 128 rows. Field f is in section 2 + f % 62.
void WriteCatalogues(const std::string& folder) {
    std::string sections = "1,TACInfo,N,Information,SN,2\r\n";
    for (int s = 2; s < kReplaceId; ++s) {
        sections += std::to_string(s) + ",Section" + std::to_string(s) +
                    (s % 4 == 0 ? ",Y" : ",N") + ",Section " + std::to_string(s) + ",XX," +
                    std::to_string(2 + s % 8) + "\r\n";
    }
    sections += std::to_string(kReplaceId) + ",Replace,N,Replacements,SR,9\r\n";
    std::string fields = "Version,Version,C,N,1\r\nUpdated,Updated,C,N,1\r\n";
    for (int f = 0; f < kFields; ++f) {
        const int section = 2 + f % 62;
        fields += "Field " + std::to_string(f) + ",Key" + std::to_string(f) +
                  (f % 3 == 0 ? ",B," : ",C,") + (section % 4 == 0 ? "Y," : "N,") +
                  std::to_string(section) + "\r\n";
    }
    WriteFile(folder + "/Sections.txt", sections);
    WriteFile(folder + "/Fields.txt", fields);
}

// Section `id` of the catalogues with every key it has; with `orderLists`, an ordered section has
// its Order list too, as the editor writes it.
void AppendCatalogued(std::string& doc, int id, bool orderLists) {
    if (id == 1) {
        doc += "[TACInfo]\r\nVersion=1.0\r\nUpdated=01/01/2026 (00:00:00)\r\n";
    } else if (id == kReplaceId) {
        doc += "[Replace]\r\n";
        for (int n = 0; n < kReplacements; ++n) {
            doc += std::string("r") + static_cast<char>('0' + n) + "=from " + std::to_string(n) +
                   ",to " + std::to_string(n) + "\r\n";
        }
    } else {
        doc += "[Section" + std::to_string(id) + "]\r\n";
        std::string order;
        for (int f = id - 2; f < kFields; f += 62) {
            doc += "Key" + std::to_string(f) + "=" +
                   (f % 3 == 0 ? "1" : "value " + std::to_string(f)) + "\r\n";
            order += order.empty() ? "Key" : ",Key";
            order += std::to_string(f);
        }
        if (orderLists && id % 4 == 0) {
            doc += "Order=" + order + "\r\n";
        }
    }
}

// A section of `keys` keys that the catalogues do not describe, as in files shared with another
// application; with `comments`, every tenth has a comment line.
void AppendOther(std::string& doc, std::size_t n, int keys, bool comments) {
    doc += "[Other" + std::to_string(n) + "]\r\n";
    if (comments && n % 10 == 0) {
        doc += "; kept by another program\r\n";
    }
    for (int k = 0; k < keys; ++k) {
        doc += "Entry" + std::to_string(k) + "=some text that another program keeps here\r\n";
    }
}

// Every catalogued key in the first kilobyte and 13 replacements, then sections of 20 keys (about
// one per kilobyte) that the catalogues do not describe.
std::string MakeDenseDocument(std::size_t size) {
    std::string doc;
    for (int id = 1; id <= kSections; ++id) {
        AppendCatalogued(doc, id, false);
    }
    for (std::size_t other = 0; doc.size() < size; ++other) {
        AppendOther(doc, other, 20, false);
    }
    return doc;
}

// Sections of about 300 bytes (six keys, a comment in every tenth) with the catalogued sections
// (Order lists included) spread evenly through the file: TACInfo first, Section63 (with
// Section63.Key61) last, Replace in the middle, each catalogued section followed by unknown ones at
// the same distance.
std::string MakeSpreadDocument(std::size_t size) {
    std::vector<int> ids{1};
    for (int id = 2; id <= kLastSectionId; ++id) {
        ids.push_back(id);
        if (id == 32) {
            ids.push_back(kReplaceId);
        }
    }
    std::string doc;
    doc.reserve(size + 4 * kSectionBytes);
    std::size_t next = 0;
    for (std::size_t other = 0; doc.size() + kSectionBytes < size; ++other) {
        if (next + 1 < ids.size() && doc.size() >= next * size / (ids.size() - 1)) {
            AppendCatalogued(doc, ids[next++], true);
        } else {
            AppendOther(doc, other, 6, true);
        }
    }
    while (next < ids.size()) {
        AppendCatalogued(doc, ids[next++], true);
    }
    return doc;
}

// `size` bytes of "[x]" lines (tiny sections all of one name) between TACInfo and the last section
// of a spread document; LF line ends.
std::string MakeTinySectionsDocument(std::size_t size) {
    std::string doc = "[TACInfo]\nVersion=1.0\n";
    doc.reserve(size + 64);
    while (doc.size() < size) {
        doc += "[x]\n";
    }
    doc += "[Section" + std::to_string(kLastSectionId) + "]\nKey" + std::to_string(kLastKey) +
           "=value " + std::to_string(kLastKey) + "\n";
    return doc;
}

// TACInfo, then Section3 whose text Key1 is one line of `size` bytes, then the last section of a
// spread document; LF line ends.
std::string MakeLongLineDocument(std::size_t size) {
    std::string doc = "[TACInfo]\nVersion=1.0\n[Section3]\nKey1=";
    doc.reserve(size + 64);
    static const std::string kWords = "a long value written on one line ";
    while (doc.size() + kWords.size() < size) {
        doc += kWords;
    }
    doc.append(size - doc.size(), 'x');
    doc += "\n[Section" + std::to_string(kLastSectionId) + "]\nKey" + std::to_string(kLastKey) +
           "=value " + std::to_string(kLastKey) + "\n";
    return doc;
}

// TACInfo, then Section2 with `keys` keys the catalogues do not describe, then the last section of
// a spread document; LF line ends.
std::string MakeManyKeysDocument(std::size_t keys) {
    std::string doc = "[TACInfo]\nVersion=1.0\n[Section2]\n";
    for (std::size_t k = 0; k < keys; ++k) {
        doc += "Entry" + std::to_string(k) + "=value " + std::to_string(k) + "\n";
    }
    doc += "[Section" + std::to_string(kLastSectionId) + "]\nKey" + std::to_string(kLastKey) +
           "=value " + std::to_string(kLastKey) + "\n";
    return doc;
}

// --- The benchmarks ---

enum class Shape { kDense, kSpread };

struct Case {
    Shape shape;
    std::size_t size;
    const char* name;
    double minTime;  // seconds per benchmark; 0: --benchmark_min_time
};

const Case kCases[] = {
    {Shape::kDense, 10 << 10, "dense-10KB", 0},
    {Shape::kDense, 1 << 20, "dense-1MB", 0},
    {Shape::kDense, 10 << 20, "dense-10MB", 0},
    {Shape::kSpread, 10 << 20, "spread-10MiB", 0},
    {Shape::kSpread, 100 << 20, "spread-100MiB", 0.5},
};

std::string DocumentPath(const Case& c) {
    const std::string path = Folder() + "/" + c.name + ".tac";
    if (!std::filesystem::exists(path)) {
        WriteFile(path, c.shape == Shape::kDense ? MakeDenseDocument(c.size)
                                                 : MakeSpreadDocument(c.size));
    }
    return path;
}

std::string Copy(const Case& c, const std::string& what) {
    const std::string path = Folder() + "/" + what + "-" + c.name + ".tac";
    std::filesystem::copy_file(DocumentPath(c), path,
                               std::filesystem::copy_options::overwrite_existing);
    return path;
}

std::shared_ptr<const tav::Catalogues> BenchCatalogues() {
    static const auto catalogues = tav::LoadCatalogues(Folder(), {});
    return catalogues;
}

// The row of Section63.Key61, the text that Save and Set change.
std::uint16_t EditedRow(const tav::ConfigDocument& document) {
    const std::string key = "Key" + std::to_string(kLastKey);
    for (std::uint16_t row = 0; row < document.CatalogueRows(); ++row) {
        if (document.Row(row).key == key) {
            return row;
        }
    }
    std::fprintf(stderr, "bench-document: the catalogues have no %s\n", key.c_str());
    std::exit(2);
}

// Two values taken in turn, so that every save changes the file.
std::string EditValue(benchmark::IterationCount n) {
    return n % 2 == 0 ? "edited value A" : "edited value B";
}

void BenchFloorRead(benchmark::State& state, const Case& c) {
    const std::string path = DocumentPath(c);
    std::unique_ptr<char[]> buffer;
    for (auto _ : state) {
        if (FloorRead(path, buffer) < 0) {
            state.SkipWithError("floor read failed");
            break;
        }
        benchmark::DoNotOptimize(buffer.get());
        buffer.reset();
    }
}

void BenchFloorWrite(benchmark::State& state, const Case& c) {
    std::unique_ptr<char[]> bytes;
    const ssize_t size = FloorRead(DocumentPath(c), bytes);
    const std::string temp = Folder() + "/floor.tmp";
    const std::string target = Folder() + "/floor.tac";
    for (auto _ : state) {
        if (size < 0 || !FloorWrite(bytes.get(), static_cast<std::size_t>(size), temp, target)) {
            state.SkipWithError("floor write failed");
            break;
        }
    }
}

// Open as the editor's Open command does it: the document read into the model, which has the tree
// rebuilt. (The catalogues, the model and the tree exist from start-up on.)
void BenchOpen(benchmark::State& state, const Case& c) {
    const std::string path = DocumentPath(c);
    auto document = std::make_shared<tav::ConfigDocument>(BenchCatalogues());
    tav::DocumentStorage storage(*document, tav::CurrentTimeText);
    tav::ConfigTree tree(document);
    for (auto _ : state) {
        if (!storage.Open(path, "doc.tac")) {
            state.SkipWithError("open failed");
            break;
        }
        benchmark::DoNotOptimize(tree.model()->rowCount());
    }
}

// The same without the window system: the document read into the model.
void BenchOpenCore(benchmark::State& state, const Case& c) {
    const std::string path = DocumentPath(c);
    tav::ConfigDocument document(BenchCatalogues());
    tav::DocumentStorage storage(document, tav::CurrentTimeText);
    for (auto _ : state) {
        if (!storage.Open(path, "doc.tac")) {
            state.SkipWithError("open failed");
            break;
        }
    }
}

// The editor's save request: the whole document, over the file as this document left it.
tav::SaveRequest UnchangedOnly() {
    tav::SaveRequest request;
    request.condition = tav::SaveRequest::Condition::IfUnchanged;
    return request;
}

// Save as the editor does it after one edit: the file read under the lock and compared with what
// was read before (someone else's changes would be asked about), every catalogued key written,
// the result written atomically.
void BenchSave(benchmark::State& state, const Case& c) {
    const std::string path = Copy(c, "save");
    tav::ConfigDocument document(BenchCatalogues());
    tav::DocumentStorage storage(document, [] { return std::string("01/01/2026 (00:00:00)"); });
    if (!storage.Open(path, "save.tac")) {
        state.SkipWithError("open failed");
        return;
    }
    const std::uint16_t row = EditedRow(document);
    benchmark::IterationCount n = 0;
    for (auto _ : state) {
        if (!document.SetValue(row, EditValue(n++))) {
            state.SkipWithError("edit failed");
            break;
        }
        if (const auto saved = storage.Save(UnchangedOnly());
            !saved || *saved != tav::SaveOutcome::Saved) {
            state.SkipWithError("edit or save failed");
            break;
        }
    }
}

// Set as tacconf does it: the document read, one value set and the edited key written, in one
// locked cycle.
void BenchSet(benchmark::State& state, const Case& c) {
    const std::string path = Copy(c, "set");
    benchmark::IterationCount n = 0;
    for (auto _ : state) {
        tav::ConfigDocument document(BenchCatalogues());
        tav::DocumentStorage storage(document, tav::CurrentTimeText);
        const std::string value = EditValue(n++);
        tav::SaveRequest request;
        request.scope = tav::SaveRequest::Scope::EditedKeys;
        request.path = path;
        request.edit = [&](tav::ConfigDocument& read, const std::vector<std::string>&) {
            return static_cast<bool>(read.SetValue(EditedRow(read), value));
        };
        const tav::Expected<tav::SaveOutcome> saved = storage.Save(request);
        if (!saved || *saved != tav::SaveOutcome::Saved) {
            state.SkipWithError("open, edit or save failed");
            break;
        }
    }
}

// The resident memory of this process, in MiB.
double ResidentMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return -1;
}

// The editor's memory after Open and after each of three saves of the largest document (model and
// tree, as in the window): what a save takes must be given back.
int MemoryAfterSave() {
    const Case& c = kCases[std::size(kCases) - 1];
    const std::string path = Copy(c, "memory");
    auto document = std::make_shared<tav::ConfigDocument>(BenchCatalogues());
    tav::DocumentStorage storage(*document, [] { return std::string("01/01/2026 (00:00:00)"); });
    tav::ConfigTree tree(document);
    const double before = ResidentMiB();
    if (!storage.Open(path, "memory.tac")) {
        return 2;
    }
    const double opened = ResidentMiB();
    std::printf("%s: resident %.1f MiB before Open, %.1f MiB after Open\n", c.name, before, opened);
    const std::uint16_t row = EditedRow(*document);
    for (int save = 0; save < 3; ++save) {
        if (!document->SetValue(row, EditValue(save))) {
            return 2;
        }
        if (const auto saved = storage.Save(UnchangedOnly());
            !saved || *saved != tav::SaveOutcome::Saved) {
            return 2;
        }
        const double now = ResidentMiB();
        std::printf("after save %d: %.1f MiB (%+.1f %% of the level after Open)\n", save + 1, now,
                    100.0 * (now - opened) / opened);
    }
    return 0;
}

using BenchFunction = void (*)(benchmark::State&, const Case&);
const std::pair<const char*, BenchFunction> kOperations[] = {
    {"FloorRead", BenchFloorRead}, {"FloorWrite", BenchFloorWrite},
    {"Open", BenchOpen},           {"OpenCore", BenchOpenCore},
    {"Save", BenchSave},           {"Set", BenchSet},
};

// Prints as the console does, then the ratios of each case against its floor.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                m_times[run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                       run.GetAdjustedCPUTime()};
            }
        }
    }

    void Finalize() override {
        std::printf("\nRatios against the floor of the same run, wall time (CPU time):\n");
        std::printf("%-14s %12s %12s %22s %22s\n", "document", "open/read", "core/read",
                    "save/(read+write)", "set/(read+write)");
        for (const Case& c : kCases) {
            const auto time = [&](const char* op) { return Find(c, op); };
            const Time read = time("FloorRead"), write = time("FloorWrite");
            if (read.wall <= 0) {
                continue;
            }
            const Time floor{read.wall + write.wall, read.cpu + write.cpu};
            std::printf(
                "%-14s %12s %12s %22s %22s\n", c.name, Ratio(time("Open"), read, false).c_str(),
                Ratio(time("OpenCore"), read, false).c_str(),
                Ratio(time("Save"), floor, true).c_str(), Ratio(time("Set"), floor, true).c_str());
        }
    }

private:
    struct Time {
        double wall = 0;
        double cpu = 0;
    };

    Time Find(const Case& c, const char* op) const {
        const auto found = m_times.find(std::string(c.name) + "/" + op);
        return found == m_times.end() ? Time{} : found->second;
    }

    static std::string Ratio(Time what, Time floor, bool withCpu) {
        if (what.wall <= 0 || floor.wall <= 0) {
            return "-";
        }
        char text[64];
        if (withCpu && floor.cpu > 0) {
            std::snprintf(text, sizeof text, "%.2f x (%.2f x)", what.wall / floor.wall,
                          what.cpu / floor.cpu);
        } else {
            std::snprintf(text, sizeof text, "%.2f x", what.wall / floor.wall);
        }
        return text;
    }

    std::map<std::string, Time> m_times;
};

// Writes what the process-level benchmarks read into `folder`: the catalogues, spread documents of
// 1, 10 and 100 MiB, a dense one of 10 MiB, 50 MB of tiny sections, one line of 100 MB and a
// section of a million keys.
int WriteDocuments(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        Die("cannot create " + folder, error.value());
    }
    WriteCatalogues(folder);
    for (const int mib : {1, 10, 100}) {
        WriteFile(folder + "/spread-" + std::to_string(mib) + "MiB.tac",
                  MakeSpreadDocument(static_cast<std::size_t>(mib) << 20));
    }
    WriteFile(folder + "/dense-10MiB.tac", MakeDenseDocument(10 << 20));
    WriteFile(folder + "/tiny-50MB.tac", MakeTinySectionsDocument(50'000'000));
    WriteFile(folder + "/longline-100MB.tac", MakeLongLineDocument(100'000'000));
    WriteFile(folder + "/million-keys.tac", MakeManyKeysDocument(1'000'000));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-documents") == 0) {
        return WriteDocuments(argv[2]);
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    WriteCatalogues(Folder());
    if (argc == 2 && std::strcmp(argv[1], "--memory-after-save") == 0) {
        const int status = MemoryAfterSave();
        std::filesystem::remove_all(Folder());
        return status;
    }
    // Grouped by document, so that each is measured next to its floor.
    for (const Case& c : kCases) {
        for (const auto& [op, function] : kOperations) {
            auto* bench =
                benchmark::RegisterBenchmark((std::string(c.name) + "/" + op).c_str(), function, c);
            bench->Unit(benchmark::kMillisecond);
            if (c.minTime > 0) {
                bench->MinTime(c.minTime);
            }
        }
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter(::isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                   : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove_all(Folder());
    return 0;
}
