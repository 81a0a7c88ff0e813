// Catalogue lines with their line numbers and columns, as the checks need them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/finding.h"

namespace tav::check {

// Adds findings about one file.
struct FileFindings {
    const std::string& file;
    Findings& findings;

    void Add(std::size_t line, std::string message) const;
    // Adds `message` when there is one.
    void AddIf(std::size_t line, const std::optional<std::string>& message) const;
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
