// Helpers of the tests that show a save is safe in folders other users can write to: folders of
// each kind, a file outside them that no save may touch, links that belong to another user, saves
// run in a child process (as another user, killed part-way, or guarded against blocking), and the
// words a failure's message must use for the state it left.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>

#include "storage/atomicfile.h"
#include "storage/documentfile.h"

namespace tavtest {

inline constexpr uid_t kOtherUser = 65534;  // nobody:nogroup, there on every Debian machine
inline constexpr gid_t kOtherGroup = 65534;

// The edit that makes the document hold `bytes`, whatever it held.
tav::DocumentEdit Becomes(std::string bytes);

// The folders a document may be saved in, as the link rule tells them apart.
enum class FolderKind {
    Private,        // 0755: only its owner adds names
    Sticky,         // 1777, as /tmp
    WorldWritable,  // 0777
    GroupWritable,  // 0770, group nogroup
};
const char* NameOf(FolderKind kind);

// Makes the folder `path` of `kind`, owned by `owner` (group nogroup for GroupWritable).
void MakeFolder(const std::string& path, FolderKind kind, uid_t owner = 0);

// Makes `link` a symbolic link to `target` that belongs to `owner`.
void MakeLink(const std::string& target, const std::string& link, uid_t owner);

// A file of root's, mode 0600, that no save of these tests may change.
class Victim final {
public:
    explicit Victim(std::string path);
    const std::string& Path() const { return m_path; }
    // What changed about it ("" when nothing: same inode, bytes, size and times).
    std::string Changes() const;

private:
    std::string m_path;
    std::string m_bytes;
    struct stat m_info {};
};

// The end of a save, in a form that crosses a pipe.
struct SaveResult {
    bool ok = false;
    tav::WriteState state = tav::WriteState::NotAWrite;
    int code = 0;
    std::string copy;
    std::string message;

    static SaveResult Of(const tav::Status& status);
    std::string Encode() const;
    static SaveResult Decode(const std::string& text);
};

// How a child process ended.
struct ChildRun {
    bool finished = false;  // it returned from `body`
    int signal = 0;         // otherwise the signal that ended it (SIGALRM: it was stuck)
    int exit = -1;          // or the code it exited with (a hook's _exit)
    std::string text;       // what `body` returned
};

// Runs `body` in a forked child, as `uid` (with group nogroup and no other groups) unless it is
// 0, with an alarm that kills it after `seconds`. The child never returns into the test.
ChildRun RunInChild(const std::function<std::string()>& body, uid_t uid = 0, unsigned seconds = 10);

// The exit code of a child a hook ended on purpose.
inline constexpr int kKilledByHook = 99;

// Saves `bytes` to `path` in a child whose fault hook ends it (_exit) when it reaches `step` with
// at least `atBytes` written. True when it died there.
bool KillSaveAt(const std::string& path, const std::string& bytes, tav::SaveStep step,
                std::size_t atBytes = 0);

// "" when `result`'s message words its state as FileError::Message promises, else what is wrong.
std::string StateWordsMismatch(const SaveResult& result);

// The fault hook installed while it lives.
class FaultHook final {
public:
    explicit FaultHook(tav::SaveFaultHook hook) { tav::SetSaveFaultHookForTesting(hook); }
    ~FaultHook() { tav::SetSaveFaultHookForTesting({}); }
    FaultHook(const FaultHook&) = delete;
    FaultHook& operator=(const FaultHook&) = delete;
};

// Whether `text` holds `part`.
inline bool Holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace tavtest
