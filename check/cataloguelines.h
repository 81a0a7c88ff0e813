// Catalogue lines with their line numbers and columns, as the checks need them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/finding.h"

namespace tav::check {

// How many findings of each kind a check lists: a document with millions of repeated or unknown
// sections lists the first kFindingsPerKind of each kind and a count of the rest, so that its
// check neither prints gigabytes nor spends its time making texts nobody reads.
inline constexpr std::size_t kFindingsPerKind = 1000;

class FindingCap final {
public:
    // Counts one finding of `kind` (its untranslated message template) on `line`: true while
    // fewer than kFindingsPerKind of that kind were listed, false (the finding only counted)
    // after.
    bool Wants(const char* kind, std::size_t line);
    // Counts `count` findings of `kind` on the lines from `line` on, one each: how many of the
    // first of them are to be listed (the rest only counted).
    std::size_t Wants(const char* kind, std::size_t line, std::size_t count);

    // For each kind that reached the cap, in the order the kinds were first found: a finding of
    // the whole file (line 0) saying how many more there were, like which listed one.
    Findings Summary(const std::string& file) const;

    // How many findings were counted but not listed, of every kind together.
    std::size_t Unlisted() const;

private:
    struct Count {
        const char* kind = nullptr;
        std::size_t listed = 0;
        std::size_t unlisted = 0;
        std::size_t lastLine = 0;  // of the last one listed
    };
    std::vector<Count> m_counts;  // a few kinds: searched in order
};

// Adds findings about one file.
struct FileFindings {
    const std::string& file;
    Findings& findings;
    FindingCap* cap = nullptr;  // when set, Wants counts against it

    void Add(std::size_t line, std::string message) const;
    // Adds `message` when there is one.
    void AddIf(std::size_t line, const std::optional<std::string>& message) const;
    // Whether a finding of `kind` on `line` is to be made and added (see FindingCap::Wants);
    // always true without a cap.
    bool Wants(const char* kind, std::size_t line) const;
    // How many of `count` findings of `kind`, one on each line from `line` on, are to be made
    // (see FindingCap::Wants); all without a cap.
    std::size_t Wants(const char* kind, std::size_t line, std::size_t count) const;
};

struct NumberedLine {
    std::string_view text;
    std::size_t number = 0;  // 1-based line number in the file
};

// Sorts `findings` by line, keeping the order of findings on one line.
void SortByLine(Findings& findings);

// Sorts the findings from `from` on by line, keeping the order of findings on the same line.
void SortByLine(Findings& findings, std::size_t from);

// The lines the catalogue loader takes (non-empty, see CatalogLines), with their line numbers.
std::vector<NumberedLine> NumberedCatalogLines(std::string_view bytes);

// Every comma-separated column of `line`, an empty last one included.
std::vector<std::string_view> AllColumns(std::string_view line);

// What is wrong with the number of columns of a line, or nothing when it is `expected`; `names`
// lists the expected columns.
std::optional<std::string> ColumnCountProblem(const std::vector<std::string_view>& columns,
                                              std::size_t expected, const char* names);

// What is wrong with an order-flag column, or nothing for exactly "Y" or "N". `what` names the
// item that is or is not ordered, as a translated text ("the section", "the field").
std::optional<std::string> FlagProblem(std::string_view column, std::string_view what);

// What is wrong with a number column, or nothing for plain decimal digits. `what` is the
// column's translated name ("id", "icon").
std::optional<std::string> NumberProblem(std::string_view column, std::string_view what);

// "\"text\"".
std::string Quote(std::string_view text);

}  // namespace tav::check
