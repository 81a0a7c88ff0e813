// The words a reader may search the help for that its pages say differently. This table is the
// one place for them: each group lists terms that mean the same to someone searching the help
// (a term is a word or a phrase, as the reader would type it; case and punctuation do not count,
// as for SearchWords). A query that holds one term of a group finds the pages holding any term of
// it. Add a group when a search that should find a page finds nothing; keep a term in one group
// only (the first group that holds it wins).
#pragma once

#include <string_view>
#include <vector>

namespace tav {

using SynonymGroup = std::vector<std::string_view>;

// The groups, in the order searched.
const std::vector<SynonymGroup>& SearchSynonyms();

}  // namespace tav
