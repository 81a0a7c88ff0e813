// Saving while someone else swaps things in at the document's name, in folders others can write
// to: a link to a file of root's, a FIFO, a device, a new file, a changed file, at any step of a
// save. Whatever is swapped in, nothing is written through it, no save blocks on it, and what the
// save reports is what the folder holds: the old bytes, the new ones, or (Incomplete) a mix with a
// complete copy. A seeded driver mixes swaps with failures and delays at random steps.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <thread>
#include <vector>

#include "savetestutil.h"
#include "storage/posix/safepath.h"
#include "testutil.h"

namespace {

using tav::SaveStep;
using tavtest::FolderKind;
using tavtest::Holds;
using tavtest::SaveResult;

enum class Swap { Link, Fifo, FifoWithReader, Device, NewFile, ChangedFile };

const char* NameOf(Swap swap) {
    static constexpr const char* kNames[] = {"link",   "fifo",    "fifoWithReader",
                                             "device", "newFile", "changedFile"};
    return kNames[static_cast<int>(swap)];
}

// A document in a folder of a given kind, with a hard link beside it when the save must write in
// place, and a file of root's outside the folder. What the test swaps in at the document's name
// keeps what it displaces under another name, so that afterwards every file the test made can be
// checked against what it must hold.
class SwapWorld final {
public:
    SwapWorld(FolderKind kind, bool inPlace, const std::string& old)
        : m_folder(m_dir.File("folder")),
          m_document(m_folder + "/doc.tac"),
          m_victim(m_dir.File("victim")) {
        tavtest::MakeFolder(m_folder, kind);
        tavtest::WriteFile(m_document, old);
        Made("doc.tac");
        if (inPlace && ::link(m_document.c_str(), (m_folder + "/link.tac").c_str()) == 0) {
            m_names.insert("link.tac");
        }
    }

    const std::string& Document() const { return m_document; }

    // Puts `swap` at the document's name (ChangedFile: adds a line to the file there, if it is
    // one, as a program that takes no lock would).
    void Make(Swap swap) {
        struct stat info {};
        const bool present = ::lstat(m_document.c_str(), &info) == 0;
        if (swap == Swap::ChangedFile) {
            if (present && S_ISREG(info.st_mode)) {
                std::ofstream(m_document, std::ios::app) << "Changed=" << ++m_count << '\n';
                Made("doc.tac");
            }
            return;
        }
        if (present) {
            const std::string aside = "displaced." + std::to_string(++m_count);
            ::rename(m_document.c_str(), (m_folder + "/" + aside).c_str());
            m_names.insert(aside);
            if (const auto kind = m_special.extract("doc.tac")) {
                m_special[aside] = kind.mapped();
            }
        }
        switch (swap) {
            case Swap::Link:
                tavtest::MakeLink(m_victim.Path(), m_document, tavtest::kOtherUser);
                m_special["doc.tac"] = S_IFLNK;
                break;
            case Swap::Fifo:
            case Swap::FifoWithReader:
                ::mkfifo(m_document.c_str(), 0666);
                m_special["doc.tac"] = S_IFIFO;
                if (swap == Swap::FifoWithReader) {
                    // With a reader, a writer's open would succeed: what it wrote shows here.
                    m_readers.emplace_back(::open(m_document.c_str(), O_RDONLY | O_NONBLOCK));
                }
                break;
            case Swap::Device:  // the numbers of /dev/null
                ::mknod(m_document.c_str(), S_IFCHR | 0666, ::makedev(1, 3));
                m_special["doc.tac"] = S_IFCHR;
                break;
            case Swap::NewFile:
                tavtest::WriteFile(m_document, "Theirs=" + std::to_string(++m_count) + "\n");
                Made("doc.tac");
                break;
            case Swap::ChangedFile:
                break;
        }
    }

    // What is wrong after a save that ended with `result` and was to write `fresh`.
    std::vector<std::string> Problems(const SaveResult& result, const std::string& fresh) const {
        std::vector<std::string> problems;
        if (std::string changed = m_victim.Changes(); !changed.empty()) {
            problems.push_back(changed);
        }
        if (std::string words = tavtest::StateWordsMismatch(result); !words.empty()) {
            problems.push_back(words);
        }
        std::set<ino_t> holdingFresh;
        std::set<ino_t> mixed;  // neither what the test put there nor the new content
        for (const auto& item : std::filesystem::directory_iterator(m_folder)) {
            const std::string name = item.path().filename().string();
            const std::string path = item.path().string();
            struct stat info {};
            ::lstat(path.c_str(), &info);
            if (m_names.count(name) == 0) {
                // Only the copy a failure names may be left, and it is complete.
                if (result.ok || !Holds(result.message, path) || tavtest::ReadFile(path) != fresh) {
                    problems.push_back(name + " was left in the folder");
                }
                continue;
            }
            const auto special = m_special.find(name);
            if (special != m_special.end() && !S_ISREG(info.st_mode)) {
                if ((info.st_mode & S_IFMT) != special->second) {
                    problems.push_back(name + " changed its kind");
                }
                continue;
            }
            if (!S_ISREG(info.st_mode)) {
                problems.push_back(name + " is no longer a file");
                continue;
            }
            const std::string bytes = tavtest::ReadFile(path);
            const auto put = m_bytes.find(info.st_ino);
            if (put != m_bytes.end() && put->second == bytes) {
                continue;
            }
            (bytes == fresh ? holdingFresh : mixed).insert(info.st_ino);
        }
        for (const tav::UniqueFd& reader : m_readers) {
            char byte = 0;
            if (::read(reader.Get(), &byte, 1) > 0) {
                problems.push_back("a save wrote into the FIFO");
            }
        }
        const bool saved = result.ok || result.state == tav::WriteState::Saved;
        if (saved && holdingFresh.empty()) {
            problems.push_back("the save says it saved, but no file holds the new content");
        }
        if (!saved && result.state != tav::WriteState::Incomplete && !holdingFresh.empty()) {
            problems.push_back("the save says it wrote nothing, but a file holds the new content");
        }
        if (result.state == tav::WriteState::Incomplete ? mixed.size() > 1 : !mixed.empty()) {
            problems.push_back(std::to_string(mixed.size()) + " file(s) hold other bytes");
        }
        if (result.state == tav::WriteState::Incomplete &&
            (result.copy.rfind(m_folder + "/", 0) != 0 ||
             tavtest::ReadFile(result.copy) != fresh)) {
            problems.push_back("the copy " + result.copy + " does not hold the new content");
        }
        return problems;
    }

private:
    void Made(const std::string& name) {
        const std::string path = m_folder + "/" + name;
        struct stat info {};
        ::lstat(path.c_str(), &info);
        m_bytes[info.st_ino] = tavtest::ReadFile(path);
        m_names.insert(name);
    }

    tavtest::TempDir m_dir;
    std::string m_folder;
    std::string m_document;
    tavtest::Victim m_victim;
    std::map<ino_t, std::string> m_bytes;     // every file the test wrote: what it must hold
    std::map<std::string, mode_t> m_special;  // names the test gave a link, FIFO or device
    std::set<std::string> m_names;            // every name the test made in the folder
    std::vector<tav::UniqueFd> m_readers;
    int m_count = 0;
};

// What a child sends back: the problems it found, then the save's result.
constexpr std::string_view kResultFollows = "\n-- result --\n";

std::string Report(const SaveResult& result, const std::vector<std::string>& problems) {
    std::string text;
    for (const std::string& problem : problems) {
        text += problem + "\n";
    }
    return text + std::string(kResultFollows) + result.Encode();
}

// The problems and the result of a child's Report.
std::pair<std::string, SaveResult> Reported(const std::string& text) {
    const std::size_t at = text.find(kResultFollows);
    if (at == std::string::npos) {
        return {"no report came back: " + text, SaveResult{}};
    }
    return {text.substr(0, at), SaveResult::Decode(text.substr(at + kResultFollows.size()))};
}

class SaveSwapTest : public testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "needs root, to make links of another user and device nodes";
        }
    }
};

struct SwapStep {
    const char* name;
    SaveStep step;
    bool inPlace;
    bool refused;  // swapped in before the save's last look at the name: the save starts again
                   // and refuses it; else it lands after the write began and is simply kept or
                   // replaced
};

TEST_F(SaveSwapTest, NothingSwappedInAtAnyStepIsWrittenThroughOrBlocksTheSave) {
    const SwapStep steps[] = {
        {"renameCreatingTemp", SaveStep::CreateTemp, false, true},
        {"renameWriting", SaveStep::Write, false, true},
        {"renameFlushing", SaveStep::Sync, false, true},
        {"renameVerifying", SaveStep::Verify, false, true},
        {"renaming", SaveStep::Rename, false, false},
        {"renameFlushingTheFolder", SaveStep::SyncFolder, false, false},
        {"inPlaceCreatingCopy", SaveStep::CreateTemp, true, true},
        {"inPlaceWritingCopy", SaveStep::Write, true, true},
        {"inPlaceFlushingCopy", SaveStep::Sync, true, true},
        {"inPlaceNamingCopy", SaveStep::SyncFolder, true, true},
        {"inPlaceBeforeTheReopen", SaveStep::Verify, true, true},
        {"inPlaceOverwriting", SaveStep::Overwrite, true, false},
        {"inPlaceCutting", SaveStep::Truncate, true, false},
        {"inPlaceFlushing", SaveStep::SyncInPlace, true, false},
        {"inPlaceRemovingCopy", SaveStep::RemoveCopy, true, false},
    };
    const std::string old = "[S]\nA=old\n";
    const std::string fresh = "[S]\nA=new\n";
    // The link rule tells the shared folders apart; a FIFO or a device is refused in any.
    const std::pair<FolderKind, Swap> swaps[] = {
        {FolderKind::Sticky, Swap::Link},           {FolderKind::WorldWritable, Swap::Link},
        {FolderKind::GroupWritable, Swap::Link},    {FolderKind::Sticky, Swap::Fifo},
        {FolderKind::Sticky, Swap::FifoWithReader}, {FolderKind::GroupWritable, Swap::Device},
    };
    for (const auto& pair : swaps) {
        // Named copies: clang 14 cannot capture a structured binding in a lambda.
        const FolderKind kind = pair.first;
        const Swap swap = pair.second;
        for (const SwapStep& s : steps) {
            const std::string row =
                std::string(tavtest::NameOf(kind)) + "/" + NameOf(swap) + "/" + s.name;
            SwapWorld world(kind, s.inPlace, old);
            const tavtest::ChildRun run = tavtest::RunInChild([&] {
                bool swapped = false;
                const tavtest::FaultHook hook([&](SaveStep step, std::size_t) {
                    if (step == s.step && !swapped) {
                        swapped = true;
                        world.Make(swap);
                    }
                    return 0;
                });
                const SaveResult result =
                    SaveResult::Of(tav::RewriteDocument(world.Document(), tavtest::Becomes(fresh)));
                std::vector<std::string> problems = world.Problems(result, fresh);
                if (!swapped) {
                    problems.push_back("the step was never reached");
                }
                return Report(result, problems);
            });
            ASSERT_TRUE(run.finished) << row << ": the save blocked or died (" << run.signal << ")";
            const auto [problems, result] = Reported(run.text);
            EXPECT_EQ(problems, "") << row;
            EXPECT_EQ(result.ok, !s.refused) << row << ": " << result.message;
            if (s.refused) {
                EXPECT_EQ(result.state, tav::WriteState::Untouched) << row;
                const std::string words = swap == Swap::Link
                                              ? "the symbolic link " + world.Document()
                                              : world.Document() + ": is not a regular file";
                EXPECT_TRUE(Holds(result.message, words)) << row << ": " << result.message;
            }
        }
    }
}

std::string Content(const char* tag, std::mt19937& random, bool large) {
    std::string text = "[S]\nA=" + std::string(tag) + std::to_string(random()) + "\n";
    // Past the first chunk of a write (1 MiB), so that an in-place write can stop half-way.
    const std::size_t padding = large ? (3u << 19) + random() % 4096 : random() % 200;
    return text + "B=" + std::string(padding, tag[0]) + "\n";
}

// What a hook of the driver does at a step.
struct DriverHook {
    std::mt19937& random;
    SwapWorld& world;
    int actionsLeft;
    std::string actions;  // what it did, for a failure's message

    int operator()(SaveStep step, std::size_t soFar) {
        if (actionsLeft == 0 || random() % 4 != 0) {
            return 0;
        }
        --actionsLeft;
        const std::string at = std::to_string(static_cast<int>(step)) + "@" + std::to_string(soFar);
        switch (random() % 4) {
            case 0: {
                static constexpr int kErrors[] = {EIO, ENOSPC, EROFS, EDQUOT};
                const int error = kErrors[random() % std::size(kErrors)];
                actions += " fail" + at + "=" + std::to_string(error);
                return error;
            }
            case 1:
                actions += " delay" + at;
                std::this_thread::sleep_for(std::chrono::milliseconds(1 + random() % 3));
                return 0;
            default: {
                static constexpr Swap kSwaps[] = {Swap::Link,    Swap::Fifo,
                                                  Swap::Device,  Swap::FifoWithReader,
                                                  Swap::NewFile, Swap::ChangedFile};
                Swap swap = kSwaps[random() % std::size(kSwaps)];
                // A change made after the write began is a later write by someone else, not a
                // fault of this one: it would only hide the new content.
                if (swap == Swap::ChangedFile && step != SaveStep::CreateTemp &&
                    step != SaveStep::Write && step != SaveStep::Sync && step != SaveStep::Verify) {
                    swap = Swap::NewFile;
                }
                actions += std::string(" ") + NameOf(swap) + at;
                world.Make(swap);
                return 0;
            }
        }
    }
};

const char* OutcomeOf(const SaveResult& result) {
    static constexpr const char* kStates[] = {"notAWrite", "untouched", "saved", "incomplete"};
    return result.ok ? "done" : kStates[static_cast<int>(result.state)];
}

TEST_F(SaveSwapTest, SeededDriverKeepsTheInvariantsUnderFailuresDelaysAndSwaps) {
    constexpr unsigned kSeeds = 200;
    constexpr FolderKind kKinds[] = {FolderKind::Sticky, FolderKind::WorldWritable,
                                     FolderKind::GroupWritable};
    std::map<std::string, int> outcomes;
    for (unsigned seed = 1; seed <= kSeeds; ++seed) {
        std::mt19937 random(seed);
        const FolderKind kind = kKinds[random() % std::size(kKinds)];
        const bool inPlace = random() % 2 == 0;
        const bool large = random() % 8 == 0;
        const std::string old = Content("Old", random, large);
        const std::string fresh = Content("New", random, large);
        SwapWorld world(kind, inPlace, old);
        const tavtest::ChildRun run = tavtest::RunInChild([&] {
            DriverHook driver{random, world, 1 + static_cast<int>(random() % 3), {}};
            const tavtest::FaultHook hook(std::ref(driver));
            const SaveResult result =
                SaveResult::Of(tav::RewriteDocument(world.Document(), tavtest::Becomes(fresh)));
            std::vector<std::string> problems = world.Problems(result, fresh);
            if (!problems.empty()) {
                problems.push_back(std::string(tavtest::NameOf(kind)) +
                                   (inPlace ? " in place;" : ";") + driver.actions + "; " +
                                   result.message);
            }
            return Report(result, problems);
        });
        ASSERT_TRUE(run.finished) << "seed " << seed << ": the save blocked or died (" << run.signal
                                  << ")";
        const auto [problems, result] = Reported(run.text);
        EXPECT_EQ(problems, "") << "seed " << seed;
        ++outcomes[OutcomeOf(result)];
    }
    // The seeds reach every way a save can end, or the driver proves less than it seems to.
    for (const char* outcome : {"done", "untouched", "saved", "incomplete"}) {
        EXPECT_GT(outcomes[outcome], 0) << outcome;
    }
}

}  // namespace
