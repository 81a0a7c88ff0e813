#include "help/searchsynonyms.h"

namespace tav {

const std::vector<SynonymGroup>& SearchSynonyms() {
    static const std::vector<SynonymGroup> groups = {
        {"encoding", "encodings", "encoded", "code page", "code pages", "charset", "character set",
         "utf-8", "windows-1252", "ansi", "latin-1"},
        {"order", "ordered", "sequence", "reorder", "reordering", "reordered", "sort", "arrange"},
        {"replacement", "replacements", "substitution", "substitutions", "substitute", "replace"},
        {"catalogue", "catalogues", "catalog", "catalogs"},
        {"folder", "folders", "directory", "directories"},
        {"delete", "remove", "erase"},
        {"shortcut", "shortcuts", "hotkey", "hotkeys", "accelerator"},
        {"setting", "settings", "option", "options", "preference", "preferences"},
    };
    return groups;
}

}  // namespace tav
