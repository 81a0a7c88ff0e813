#include "cli/linediff.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace tav::cli {

namespace {

enum class EditKind { kKeep, kRemove, kAdd };

// `count` lines kept, removed or added: the script is a list of runs, never a table of every line,
// so a diff of two large texts costs memory for its differences only.
struct Run {
    EditKind kind;
    std::size_t count = 0;
};

// Past this many differing lines a shortest diff costs too much memory (it grows with the
// square of the difference); the whole middle is then replaced instead.
constexpr std::ptrdiff_t kMaxDistance = 4000;

// Where the line of `text` that starts at `at` ends: after its LF, or at the end of the text.
std::size_t LineEnd(std::string_view text, std::size_t at) {
    const std::size_t lf = text.find('\n', at);
    return lf == std::string_view::npos ? text.size() : lf + 1;
}

std::string_view LineAt(std::string_view text, std::size_t at) {
    return text.substr(at, LineEnd(text, at) - at);
}

// How many bytes `a` and `b` have in common from their start: blocks compared with memcmp, then
// bytes.
std::size_t CommonHead(std::string_view a, std::string_view b) {
    constexpr std::size_t kBlock = 256;
    const std::size_t size = std::min(a.size(), b.size());
    std::size_t at = 0;
    while (at + kBlock <= size && std::memcmp(a.data() + at, b.data() + at, kBlock) == 0) {
        at += kBlock;
    }
    while (at < size && a[at] == b[at]) {
        ++at;
    }
    return at;
}

// How many bytes `a` and `b` have in common at their end, at most `limit`.
std::size_t CommonTail(std::string_view a, std::string_view b, std::size_t limit) {
    constexpr std::size_t kBlock = 256;
    std::size_t tail = 0;
    while (tail + kBlock <= limit &&
           std::memcmp(a.data() + a.size() - tail - kBlock, b.data() + b.size() - tail - kBlock,
                       kBlock) == 0) {
        tail += kBlock;
    }
    while (tail < limit && a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) {
        ++tail;
    }
    return tail;
}

std::size_t CountLines(std::string_view text) {
    const auto breaks = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    return breaks + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

void Append(std::vector<Run>& runs, EditKind kind, std::size_t count) {
    if (count == 0) {
        return;
    }
    if (!runs.empty() && runs.back().kind == kind) {
        runs.back().count += count;
    } else {
        runs.push_back({kind, count});
    }
}

// Whether the furthest path on diagonal k after d differences takes its last step down (an added
// line, from diagonal k + 1) rather than right (a removed line, from diagonal k - 1); `at` gives
// the furthest x per diagonal after d - 1 differences.
template <typename At>
bool ComesFromAbove(const At& at, std::ptrdiff_t d, std::ptrdiff_t k) {
    return k == -d || (k != d && at(k - 1) < at(k + 1));
}

// Walks the trace of Myers' algorithm back from (n, m) and gives the runs, first run first. Row
// d of the trace holds, for each diagonal k from -d to d, the furthest x after d differences.
std::vector<Run> Backtrack(const std::vector<std::vector<std::ptrdiff_t>>& trace, std::ptrdiff_t n,
                           std::ptrdiff_t m) {
    std::vector<Run> reversed;
    std::ptrdiff_t x = n;
    std::ptrdiff_t y = m;
    for (auto d = static_cast<std::ptrdiff_t>(trace.size()) - 1; d > 0; --d) {
        const std::vector<std::ptrdiff_t>& v = trace[static_cast<std::size_t>(d - 1)];
        const auto at = [&](std::ptrdiff_t k) { return v[static_cast<std::size_t>(k + d - 1)]; };
        const std::ptrdiff_t k = x - y;
        const bool down = ComesFromAbove(at, d, k);
        const std::ptrdiff_t prevK = down ? k + 1 : k - 1;
        const std::ptrdiff_t prevX = at(prevK);
        const std::ptrdiff_t prevY = prevX - prevK;
        // The snake after the step, then the step (the script is built last run first).
        Append(reversed, EditKind::kKeep, static_cast<std::size_t>(down ? x - prevX : y - prevY));
        Append(reversed, down ? EditKind::kAdd : EditKind::kRemove, 1);
        x = prevX;
        y = prevY;
    }
    Append(reversed, EditKind::kKeep, static_cast<std::size_t>(x));
    return std::vector<Run>(reversed.rbegin(), reversed.rend());
}

// Where the furthest path on one diagonal has got: x lines of `a` done, and where the next line
// of each text starts.
struct Reach {
    std::ptrdiff_t x = 0;
    std::size_t aAt = 0;
    std::size_t bAt = 0;
};

// A shortest edit script from `a` to `b` (Myers, over lines found as the paths reach them), or
// nothing when it is longer than kMaxDistance.
std::optional<std::vector<Run>> ShortestRuns(std::string_view a, std::string_view b) {
    const auto n = static_cast<std::ptrdiff_t>(CountLines(a));
    const auto m = static_cast<std::ptrdiff_t>(CountLines(b));
    std::vector<std::vector<std::ptrdiff_t>> trace;  // row d holds x on diagonals -d..d
    std::vector<Reach> previous;
    for (std::ptrdiff_t d = 0; d <= std::min(n + m, kMaxDistance); ++d) {
        std::vector<Reach> row(static_cast<std::size_t>(2 * d + 1));
        const auto at = [&](std::ptrdiff_t k) -> const Reach& {
            return previous[static_cast<std::size_t>(k + d - 1)];
        };
        for (std::ptrdiff_t k = -d; k <= d; k += 2) {
            Reach reach;
            if (d > 0) {
                if (ComesFromAbove([&](std::ptrdiff_t kk) { return at(kk).x; }, d, k)) {
                    reach = at(k + 1);
                    reach.bAt = LineEnd(b, reach.bAt);  // a line of b added
                } else {
                    reach = at(k - 1);
                    reach.aAt = LineEnd(a, reach.aAt);  // a line of a removed
                    ++reach.x;
                }
            }
            // The whole lines within the bytes both texts share from here are passed over at once;
            // then line by line (the last line of a text may lack its LF).
            const std::string_view same =
                a.substr(reach.aAt, CommonHead(a.substr(reach.aAt), b.substr(reach.bAt)));
            if (const std::size_t lastBreak = same.rfind('\n');
                lastBreak != std::string_view::npos) {
                reach.x += std::count(same.begin(), same.begin() + lastBreak + 1, '\n');
                reach.aAt += lastBreak + 1;
                reach.bAt += lastBreak + 1;
            }
            while (reach.x < n && reach.x - k < m && LineAt(a, reach.aAt) == LineAt(b, reach.bAt)) {
                reach.aAt = LineEnd(a, reach.aAt);
                reach.bAt = LineEnd(b, reach.bAt);
                ++reach.x;
            }
            row[static_cast<std::size_t>(k + d)] = reach;
        }
        std::vector<std::ptrdiff_t>& xs = trace.emplace_back(row.size());
        std::transform(row.begin(), row.end(), xs.begin(), [](const Reach& r) { return r.x; });
        const std::ptrdiff_t k = n - m;
        if (k >= -d && k <= d && (k + d) % 2 == 0 && xs[static_cast<std::size_t>(k + d)] >= n) {
            return Backtrack(trace, n, m);
        }
        previous = std::move(row);
    }
    return std::nullopt;
}

// The runs from `a` to `b`: the common head and tail kept (found by comparing bytes, then cut at
// a line start), a shortest script between them.
std::vector<Run> Runs(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    const std::size_t same = CommonHead(a, b);
    const std::size_t lastBreak = same == 0 ? std::string_view::npos : a.rfind('\n', same - 1);
    const std::size_t head = lastBreak == std::string_view::npos ? 0 : lastBreak + 1;
    std::size_t tail = CommonTail(a, b, common - head);
    // The kept tail starts at a line start in both texts.
    const auto startsLine = [head](std::string_view text, std::size_t tailSize) {
        const std::size_t at = text.size() - tailSize;
        return at == head || text[at - 1] == '\n';
    };
    while (tail > 0 && !(startsLine(a, tail) && startsLine(b, tail))) {
        --tail;
    }
    std::vector<Run> runs;
    Append(runs, EditKind::kKeep, CountLines(a.substr(0, head)));
    const std::string_view middleA = a.substr(head, a.size() - head - tail);
    const std::string_view middleB = b.substr(head, b.size() - head - tail);
    if (const std::optional<std::vector<Run>> shortest = ShortestRuns(middleA, middleB)) {
        for (const Run& run : *shortest) {
            Append(runs, run.kind, run.count);
        }
    } else {
        Append(runs, EditKind::kRemove, CountLines(middleA));
        Append(runs, EditKind::kAdd, CountLines(middleB));
    }
    Append(runs, EditKind::kKeep, CountLines(a.substr(a.size() - tail)));
    return runs;
}

// A text read line by line, counting the lines.
class LineCursor final {
public:
    explicit LineCursor(std::string_view text) : m_text(text) {}
    std::size_t Line() const { return m_line; }
    std::string_view Next() {
        const std::string_view line = LineAt(m_text, m_at);
        m_at += line.size();
        ++m_line;
        return line;
    }
    void Skip(std::size_t lines) {
        // Blocks that hold fewer line ends than are left to skip are counted, not read line by
        // line: the kept run between two hunks can be millions of short lines.
        constexpr std::size_t kBlock = 4096;
        while (lines > 0 && m_at + kBlock <= m_text.size()) {
            const auto begin = m_text.begin() + static_cast<std::ptrdiff_t>(m_at);
            const auto ends = static_cast<std::size_t>(std::count(begin, begin + kBlock, '\n'));
            if (ends >= lines) {
                break;
            }
            m_at += kBlock;
            m_line += ends;
            lines -= ends;
        }
        for (; lines > 0; --lines) {
            Next();
        }
    }

private:
    std::string_view m_text;
    std::size_t m_at = 0;
    std::size_t m_line = 0;
};

std::string RangeText(std::size_t start, std::size_t count) {
    // An empty range names the line before it, as diff does.
    return std::to_string(count == 0 ? start : start + 1) + "," + std::to_string(count);
}

// Writes the hunks of `runs` as it walks both texts: changes closer than 2 * context kept lines
// share a hunk, each hunk with up to `context` kept lines before and after its changes.
class HunkWriter final {
public:
    HunkWriter(std::string_view before, std::string_view after, std::size_t context,
               std::string& out)
        : m_before(before), m_after(after), m_context(context), m_out(out) {}

    void Write(const std::vector<Run>& runs) {
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const Run& run = runs[i];
            if (run.kind == EditKind::kRemove) {
                Open();
                for (std::size_t n = 0; n < run.count; ++n) {
                    Add('-', m_before.Next());
                }
                m_beforeCount += run.count;
                continue;
            }
            if (run.kind == EditKind::kAdd) {
                Open();
                for (std::size_t n = 0; n < run.count; ++n) {
                    Add('+', m_after.Next());
                }
                m_afterCount += run.count;
                continue;
            }
            const bool last = i + 1 == runs.size();
            std::size_t trailing = m_open ? std::min(run.count, m_context) : 0;
            if (m_open && !last && run.count <= 2 * m_context) {
                trailing = run.count;  // the next change is near: the hunk goes on
            }
            Keep(trailing);
            if (trailing == run.count) {
                continue;
            }
            Close();
            if (last) {
                break;  // nothing after it is shown
            }
            const std::size_t leading = std::min(run.count - trailing, m_context);
            m_before.Skip(run.count - trailing - leading);
            m_after.Skip(run.count - trailing - leading);
            if (leading > 0) {
                Open();
                Keep(leading);
            }
        }
        Close();
    }

private:
    void Open() {
        if (!m_open) {
            m_open = true;
            m_beforeStart = m_before.Line();
            m_afterStart = m_after.Line();
            m_beforeCount = 0;
            m_afterCount = 0;
            m_body.clear();
        }
    }
    void Keep(std::size_t lines) {
        for (std::size_t n = 0; n < lines; ++n) {
            Add(' ', m_before.Next());
            m_after.Next();
        }
        m_beforeCount += lines;
        m_afterCount += lines;
    }
    void Add(char mark, std::string_view line) {
        m_body += mark;
        m_body += line;
        if (line.empty() || line.back() != '\n') {
            m_body += "\n\\ No newline at end of file\n";
        }
    }
    void Close() {
        if (m_open) {
            m_out += "@@ -" + RangeText(m_beforeStart, m_beforeCount) + " +" +
                     RangeText(m_afterStart, m_afterCount) + " @@\n" + m_body;
            m_open = false;
        }
    }

    LineCursor m_before;
    LineCursor m_after;
    std::size_t m_context;
    std::string& m_out;
    bool m_open = false;
    std::size_t m_beforeStart = 0;
    std::size_t m_afterStart = 0;
    std::size_t m_beforeCount = 0;
    std::size_t m_afterCount = 0;
    std::string m_body;
};

}  // namespace

std::string UnifiedDiff(std::string_view before, std::string_view after,
                        const std::string& beforeLabel, const std::string& afterLabel,
                        std::size_t context) {
    if (before == after) {
        return {};
    }
    std::string out = "--- " + beforeLabel + "\n+++ " + afterLabel + "\n";
    HunkWriter(before, after, context, out).Write(Runs(before, after));
    return out;
}

}  // namespace tav::cli
