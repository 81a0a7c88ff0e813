#include "cli/linediff.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace tav::cli {

namespace {

using Lines = std::vector<std::string_view>;

enum class EditKind { kKeep, kRemove, kAdd };

struct Edit {
    EditKind kind;
    std::string_view line;
};

// Past this many differing lines a shortest diff costs too much memory (it grows with the
// square of the difference); the whole middle is then replaced instead.
constexpr std::ptrdiff_t kMaxDistance = 4000;

Lines SplitLines(std::string_view text) {
    Lines lines;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        const std::size_t length = lf == std::string_view::npos ? text.size() : lf + 1;
        lines.push_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return lines;
}

// Whether the furthest path on diagonal k after d differences takes its last step down (an added
// line, from diagonal k + 1) rather than right (a removed line, from diagonal k - 1); `at` gives
// the furthest x per diagonal after d - 1 differences.
template <typename At>
bool ComesFromAbove(const At& at, std::ptrdiff_t d, std::ptrdiff_t k) {
    return k == -d || (k != d && at(k - 1) < at(k + 1));
}

// Walks the trace of Myers' algorithm back from (n, m) and appends the edits, last edit first.
// Row d of the trace holds, for each diagonal k from -d to d, the furthest x after d differences.
void Backtrack(const std::vector<std::vector<std::ptrdiff_t>>& trace, const Lines& a,
               const Lines& b, std::vector<Edit>& reversed) {
    auto x = static_cast<std::ptrdiff_t>(a.size());
    auto y = static_cast<std::ptrdiff_t>(b.size());
    for (auto d = static_cast<std::ptrdiff_t>(trace.size()) - 1; d > 0; --d) {
        const std::vector<std::ptrdiff_t>& v = trace[static_cast<std::size_t>(d - 1)];
        const auto at = [&](std::ptrdiff_t k) { return v[static_cast<std::size_t>(k + d - 1)]; };
        const std::ptrdiff_t k = x - y;
        const bool down = ComesFromAbove(at, d, k);
        const std::ptrdiff_t prevK = down ? k + 1 : k - 1;
        const std::ptrdiff_t prevX = at(prevK);
        const std::ptrdiff_t prevY = prevX - prevK;
        for (; x > prevX && y > prevY; --x, --y) {
            reversed.push_back({EditKind::kKeep, a[static_cast<std::size_t>(x - 1)]});
        }
        reversed.push_back(down ? Edit{EditKind::kAdd, b[static_cast<std::size_t>(y - 1)]}
                                : Edit{EditKind::kRemove, a[static_cast<std::size_t>(x - 1)]});
        x = prevX;
        y = prevY;
    }
    for (; x > 0; --x) {
        reversed.push_back({EditKind::kKeep, a[static_cast<std::size_t>(x - 1)]});
    }
}

// The furthest x on diagonal k after d differences, given the row `v` of step d - 1.
std::ptrdiff_t FurthestX(const std::vector<std::ptrdiff_t>& v, std::ptrdiff_t d, std::ptrdiff_t k,
                         const Lines& a, const Lines& b) {
    const auto at = [&](std::ptrdiff_t kk) { return v[static_cast<std::size_t>(kk + d - 1)]; };
    std::ptrdiff_t x = 0;
    if (d > 0) {
        x = ComesFromAbove(at, d, k) ? at(k + 1) : at(k - 1) + 1;
    }
    const auto n = static_cast<std::ptrdiff_t>(a.size());
    const auto m = static_cast<std::ptrdiff_t>(b.size());
    while (x < n && x - k < m &&
           a[static_cast<std::size_t>(x)] == b[static_cast<std::size_t>(x - k)]) {
        ++x;
    }
    return x;
}

// A shortest edit script from `a` to `b` (Myers), or nothing when it is longer than kMaxDistance.
std::optional<std::vector<Edit>> ShortestEdits(const Lines& a, const Lines& b) {
    const auto n = static_cast<std::ptrdiff_t>(a.size());
    const auto m = static_cast<std::ptrdiff_t>(b.size());
    std::vector<std::vector<std::ptrdiff_t>> trace;  // row d holds diagonals -d..d
    for (std::ptrdiff_t d = 0; d <= std::min(n + m, kMaxDistance); ++d) {
        std::vector<std::ptrdiff_t> v(static_cast<std::size_t>(2 * d + 1));
        for (std::ptrdiff_t k = -d; k <= d; k += 2) {
            v[static_cast<std::size_t>(k + d)] = FurthestX(d == 0 ? v : trace.back(), d, k, a, b);
        }
        trace.push_back(std::move(v));
        const std::ptrdiff_t k = n - m;
        if (k >= -d && k <= d && (k + d) % 2 == 0 &&
            trace.back()[static_cast<std::size_t>(k + d)] >= n) {
            std::vector<Edit> reversed;
            Backtrack(trace, a, b, reversed);
            return std::vector<Edit>(reversed.rbegin(), reversed.rend());
        }
    }
    return std::nullopt;
}

void Append(std::vector<Edit>& edits, EditKind kind, Lines::const_iterator first,
            Lines::const_iterator last) {
    for (; first != last; ++first) {
        edits.push_back({kind, *first});
    }
}

// The edits from `a` to `b`: the common head and tail kept, a shortest script between them.
std::vector<Edit> Edits(const Lines& a, const Lines& b) {
    const auto differ = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    const auto head = static_cast<std::size_t>(differ.first - a.begin());
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) {
        ++tail;
    }
    std::vector<Edit> edits;
    Append(edits, EditKind::kKeep, a.begin(), a.begin() + head);
    const Lines middleA(a.begin() + head, a.end() - tail);
    const Lines middleB(b.begin() + head, b.end() - tail);
    if (auto shortest = ShortestEdits(middleA, middleB)) {
        edits.insert(edits.end(), shortest->begin(), shortest->end());
    } else {
        Append(edits, EditKind::kRemove, middleA.begin(), middleA.end());
        Append(edits, EditKind::kAdd, middleB.begin(), middleB.end());
    }
    Append(edits, EditKind::kKeep, a.end() - tail, a.end());
    return edits;
}

// One hunk: the edits [first, last) and where it starts in both texts (0-based lines).
struct Hunk {
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t beforeStart = 0;
    std::size_t afterStart = 0;
};

// Groups the changes into hunks: changes closer than 2 * context kept lines share a hunk.
std::vector<Hunk> Hunks(const std::vector<Edit>& edits, std::size_t context) {
    std::vector<Hunk> hunks;
    std::size_t beforeLine = 0;
    std::size_t afterLine = 0;
    std::size_t lastChange = 0;
    for (std::size_t i = 0; i < edits.size(); ++i) {
        if (edits[i].kind != EditKind::kKeep) {
            if (hunks.empty() || i - lastChange > 2 * context + 1) {
                const std::size_t lead =
                    std::min(context, i - (hunks.empty() ? 0 : lastChange + 1));
                hunks.push_back({i - lead, 0, beforeLine - lead, afterLine - lead});
            }
            lastChange = i;
            hunks.back().last = std::min(edits.size(), i + context + 1);
        }
        beforeLine += edits[i].kind != EditKind::kAdd ? 1 : 0;
        afterLine += edits[i].kind != EditKind::kRemove ? 1 : 0;
    }
    return hunks;
}

std::string RangeText(std::size_t start, std::size_t count) {
    // An empty range names the line before it, as diff does.
    return std::to_string(count == 0 ? start : start + 1) + "," + std::to_string(count);
}

void AppendHunk(const std::vector<Edit>& edits, const Hunk& hunk, std::string& out) {
    std::size_t beforeCount = 0;
    std::size_t afterCount = 0;
    std::string body;
    for (std::size_t i = hunk.first; i < hunk.last; ++i) {
        const Edit& edit = edits[i];
        beforeCount += edit.kind != EditKind::kAdd ? 1 : 0;
        afterCount += edit.kind != EditKind::kRemove ? 1 : 0;
        body += edit.kind == EditKind::kKeep ? ' ' : edit.kind == EditKind::kRemove ? '-' : '+';
        body += edit.line;
        if (edit.line.empty() || edit.line.back() != '\n') {
            body += "\n\\ No newline at end of file\n";
        }
    }
    out += "@@ -" + RangeText(hunk.beforeStart, beforeCount) + " +" +
           RangeText(hunk.afterStart, afterCount) + " @@\n" + body;
}

}  // namespace

std::string UnifiedDiff(std::string_view before, std::string_view after,
                        const std::string& beforeLabel, const std::string& afterLabel,
                        std::size_t context) {
    if (before == after) {
        return {};
    }
    const std::vector<Edit> edits = Edits(SplitLines(before), SplitLines(after));
    std::string out = "--- " + beforeLabel + "\n+++ " + afterLabel + "\n";
    for (const Hunk& hunk : Hunks(edits, context)) {
        AppendHunk(edits, hunk, out);
    }
    return out;
}

}  // namespace tav::cli
