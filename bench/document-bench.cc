// Open and Save of documents of 10 KB, 1 MB and 10 MB with full catalogues (64 sections, 128
// rows of which 13 are replacements), each measured against the physical floor of the same run:
// reading the same bytes, and writing them durably (write, flush to disk, rename).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "catalog/fileaccess.h"
#include "document/atomicfile.h"
#include "document/documentio.h"
#include "tree/configtree.h"

namespace {

const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavbench.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return pattern;
    }();
    return folder;
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// 64 sections (the first "TACInfo", the last the replacement section, every fourth ordered) and
// 115 fields, so that 13 replacements fill the 128 rows.
void WriteCatalogues() {
    std::string sections = "1,TACInfo,N,Information,SN,2\r\n";
    for (int s = 2; s <= 63; ++s) {
        sections += std::to_string(s) + ",Section" + std::to_string(s) + (s % 4 == 0 ? ",Y" : ",N") +
                    ",Section " + std::to_string(s) + ",XX," + std::to_string(2 + s % 8) + "\r\n";
    }
    sections += "64,Replace,N,Replacements,SR,9\r\n";
    std::string fields = "Version,Version,C,N,1\r\nUpdated,Updated,C,N,1\r\n";
    for (int f = 0; f < 113; ++f) {
        const int section = 2 + f % 62;
        fields += "Field " + std::to_string(f) + ",Key" + std::to_string(f) +
                  (f % 3 == 0 ? ",B," : ",C,") + (section % 4 == 0 ? "Y," : "N,") +
                  std::to_string(section) + "\r\n";
    }
    Write(Folder() + "/Sections.txt", sections);
    Write(Folder() + "/Fields.txt", fields);
}

// A document of about `size` bytes: every catalogued key and 13 replacements, then sections that
// the catalogues do not describe, as in files shared with another application.
std::string MakeDocument(std::size_t size) {
    std::string doc = "[TACInfo]\r\nVersion=1.0\r\nUpdated=01/01/2026 (00:00:00)\r\n";
    for (int s = 2; s <= 63; ++s) {
        doc += "[Section" + std::to_string(s) + "]\r\n";
        for (int f = s - 2; f < 113; f += 62) {
            doc += "Key" + std::to_string(f) + "=" + (f % 3 == 0 ? "1" : "value " + std::to_string(f)) +
                   "\r\n";
        }
    }
    doc += "[Replace]\r\n";
    for (int n = 0; n < 13; ++n) {
        doc += tav::ReplacementKey(static_cast<std::size_t>(n)) + "=from " + std::to_string(n) +
               ",to " + std::to_string(n) + "\r\n";
    }
    for (int other = 0; doc.size() < size; ++other) {
        doc += "[Other" + std::to_string(other) + "]\r\n";
        for (int k = 0; k < 20; ++k) {
            doc += "Entry" + std::to_string(k) + "=some text that another program keeps here\r\n";
        }
    }
    return doc;
}

std::string DocumentPath(std::size_t size) {
    const std::string path = Folder() + "/doc" + std::to_string(size) + ".tac";
    if (!std::filesystem::exists(path)) {
        Write(path, MakeDocument(size));
    }
    return path;
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(10 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
}

void BM_FloorRead(benchmark::State& state) {
    const std::string path = DocumentPath(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(tav::ReadFileBytes(path)->size());
    }
}
BENCHMARK(BM_FloorRead)->Apply(Sizes);

void BM_FloorWrite(benchmark::State& state) {
    const std::string bytes =
        *tav::ReadFileBytes(DocumentPath(static_cast<std::size_t>(state.range(0))));
    const std::string temp = Folder() + "/floor.tmp";
    const std::string target = Folder() + "/floor.tac";
    for (auto _ : state) {
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            ::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temp.c_str(), target.c_str()) != 0) {
            state.SkipWithError("floor write failed");
            break;
        }
    }
}
BENCHMARK(BM_FloorWrite)->Apply(Sizes);

// Open as the editor's Open command does it: the document read into the model, which has the tree
// rebuilt. (The catalogues, the model and the tree exist from start-up on.)
void BM_Open(benchmark::State& state) {
    const std::string path = DocumentPath(static_cast<std::size_t>(state.range(0)));
    auto document = std::make_shared<tav::ConfigDocument>(tav::LoadCatalogues(Folder(), {}));
    tav::ConfigTree tree(document);
    for (auto _ : state) {
        if (!document->Open(path, "doc.tac")) {
            state.SkipWithError("read failed");
            break;
        }
        benchmark::DoNotOptimize(tree.topLevelItemCount());
    }
}
BENCHMARK(BM_Open)->Apply(Sizes);

// The same without the window system: the document read into the model.
void BM_OpenCore(benchmark::State& state) {
    const std::string path = DocumentPath(static_cast<std::size_t>(state.range(0)));
    tav::ConfigDocument document(tav::LoadCatalogues(Folder(), {}));
    for (auto _ : state) {
        const auto opened = document.Open(path, "doc.tac");
        benchmark::DoNotOptimize(opened.HasValue());
    }
}
BENCHMARK(BM_OpenCore)->Apply(Sizes);

// Save as the editor does it: the display order, the file re-read, every write applied, the result
// written atomically.
void BM_Save(benchmark::State& state) {
    const std::string source = DocumentPath(static_cast<std::size_t>(state.range(0)));
    const std::string path = Folder() + "/save" + std::to_string(state.range(0)) + ".tac";
    std::filesystem::copy_file(source, path, std::filesystem::copy_options::overwrite_existing);
    auto document = std::make_shared<tav::ConfigDocument>(tav::LoadCatalogues(Folder(), {}));
    tav::ConfigTree tree(document);
    if (!document->Open(path, "save.tac")) {
        state.SkipWithError("read failed");
        return;
    }
    for (auto _ : state) {
        if (!document->Save(tav::CurrentTimeText())) {
            state.SkipWithError("save failed");
            break;
        }
    }
}
BENCHMARK(BM_Save)->Apply(Sizes);

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    WriteCatalogues();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(Folder());
    return 0;
}
