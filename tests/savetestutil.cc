#include "savetestutil.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "testutil.h"

namespace tavtest {

namespace {

void Require(bool done, const std::string& what) {
    if (!done) {
        throw std::runtime_error(what + ": " + std::strerror(errno));
    }
}

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool BecomeUser(uid_t uid) {
    return ::setgroups(0, nullptr) == 0 &&
           ::setresgid(kOtherGroup, kOtherGroup, kOtherGroup) == 0 &&
           ::setresuid(uid, uid, uid) == 0;
}

}  // namespace

tav::DocumentEdit Becomes(std::string bytes) {
    auto held = std::make_shared<const std::string>(std::move(bytes));
    return [held](std::string_view) -> tav::Expected<tav::SplicedBytes> {
        return tav::SplicedBytes(*held);
    };
}

const char* NameOf(FolderKind kind) {
    switch (kind) {
        case FolderKind::Private:
            return "private";
        case FolderKind::Sticky:
            return "sticky";
        case FolderKind::WorldWritable:
            return "worldWritable";
        case FolderKind::GroupWritable:
            return "groupWritable";
    }
    return "?";
}

void MakeFolder(const std::string& path, FolderKind kind, uid_t owner) {
    static constexpr mode_t kModes[] = {0755, 01777, 0777, 0770};
    Require(::mkdir(path.c_str(), 0700) == 0, "mkdir " + path);
    const gid_t group = kind == FolderKind::GroupWritable ? kOtherGroup : 0;
    Require(::chown(path.c_str(), owner, group) == 0, "chown " + path);
    Require(::chmod(path.c_str(), kModes[static_cast<int>(kind)]) == 0, "chmod " + path);
}

void MakeLink(const std::string& target, const std::string& link, uid_t owner) {
    Require(::symlink(target.c_str(), link.c_str()) == 0, "symlink " + link);
    Require(::lchown(link.c_str(), owner, owner == 0 ? 0 : kOtherGroup) == 0, "lchown " + link);
}

Victim::Victim(std::string path) : m_path(std::move(path)) {
    m_bytes = "root's own, written by nobody else\n";
    WriteFile(m_path, m_bytes);
    Require(::chmod(m_path.c_str(), 0600) == 0 && ::stat(m_path.c_str(), &m_info) == 0,
            "victim " + m_path);
}

std::string Victim::Changes() const {
    struct stat now {};
    if (::lstat(m_path.c_str(), &now) != 0) {
        return m_path + " is gone";
    }
    if (now.st_ino != m_info.st_ino || !S_ISREG(now.st_mode)) {
        return m_path + " was replaced";
    }
    if (now.st_size != m_info.st_size || !SameTime(now.st_mtim, m_info.st_mtim) ||
        !SameTime(now.st_ctim, m_info.st_ctim) || now.st_mode != m_info.st_mode ||
        ReadFile(m_path) != m_bytes) {
        return m_path + " was written";
    }
    return {};
}

SaveResult SaveResult::Of(const tav::Status& status) {
    if (status) {
        SaveResult done;
        done.ok = true;
        return done;
    }
    const tav::FileError& error = status.Error();
    return SaveResult{false, error.state, error.code, error.copy, error.Message()};
}

std::string SaveResult::Encode() const {
    std::ostringstream text;
    text << ok << '\n'
         << static_cast<int>(state) << '\n'
         << code << '\n'
         << copy << '\n'
         << message;
    return text.str();
}

SaveResult SaveResult::Decode(const std::string& text) {
    std::istringstream lines(text);
    SaveResult result;
    int state = 0;
    if (!(lines >> result.ok >> state >> result.code)) {
        result.message = "(no result came back: \"" + text + "\")";
        return result;
    }
    lines.ignore(1);
    std::getline(lines, result.copy);
    std::getline(lines, result.message, '\0');
    result.state = static_cast<tav::WriteState>(state);
    return result;
}

ChildRun RunInChild(const std::function<std::string()>& body, uid_t uid, unsigned seconds) {
    int pipe[2];
    Require(::pipe(pipe) == 0, "pipe");
    const pid_t child = ::fork();
    Require(child >= 0, "fork");
    if (child == 0) {
        ::close(pipe[0]);
        ::alarm(seconds);
        if (uid != 0 && !BecomeUser(uid)) {
            ::_exit(3);
        }
        const std::string text = body();
        for (std::size_t at = 0; at < text.size();) {
            const ssize_t wrote = ::write(pipe[1], text.data() + at, text.size() - at);
            if (wrote <= 0) {
                ::_exit(4);
            }
            at += static_cast<std::size_t>(wrote);
        }
        ::_exit(0);
    }
    ::close(pipe[1]);
    ChildRun run;
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno != EINTR) {
            break;
        }
        run.text.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    }
    ::close(pipe[0]);
    int status = 0;
    Require(::waitpid(child, &status, 0) == child, "waitpid");
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.finished = run.exit == 0;
    return run;
}

bool KillSaveAt(const std::string& path, const std::string& bytes, tav::SaveStep step,
                std::size_t atBytes) {
    const ChildRun run = RunInChild([&] {
        tav::SetSaveFaultHookForTesting([&](tav::SaveStep at, std::size_t soFar) {
            if (at == step && soFar >= atBytes) {
                ::_exit(kKilledByHook);
            }
            return 0;
        });
        return SaveResult::Of(tav::RewriteDocument(path, tavtest::Becomes(bytes))).Encode();
    });
    return run.exit == kKilledByHook;
}

std::string StateWordsMismatch(const SaveResult& result) {
    if (result.ok) {
        return {};
    }
    const std::string& message = result.message;
    switch (result.state) {
        case tav::WriteState::Untouched: {
            const std::string words = "; nothing was written";
            return message.size() >= words.size() &&
                           message.compare(message.size() - words.size(), words.size(), words) == 0
                       ? std::string()
                       : "does not end in \"" + words + "\": " + message;
        }
        case tav::WriteState::Saved:
            return Holds(message, ": the new content is saved, but ")
                       ? std::string()
                       : "does not say the content is saved: " + message;
        case tav::WriteState::Incomplete:
            return !result.copy.empty() &&
                           Holds(message,
                                 "; the file is incomplete: the complete new content is "
                                 "in " +
                                     result.copy + " (tacconf set --recover ")
                       ? std::string()
                       : "does not name the complete copy: " + message;
        case tav::WriteState::NotAWrite:
            break;
    }
    return "a failed save that does not say what it wrote: " + message;
}

}  // namespace tavtest
