// Shared set-up for the tree tests: catalogue folders and item lookups.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "qtbridge/textconv.h"
#include "testutil.h"
#include "tree/configtree.h"
#include "treeitem.h"

namespace tavtest {

// A ConfigTree over a document of catalogues written into a temporary folder, with the problems
// the catalogues' load reports.
struct TreeFixture {
    TempDir dir;
    std::vector<std::string> problems;
    std::shared_ptr<tav::ConfigDocument> doc;
    std::unique_ptr<tav::ConfigTree> tree;

    TreeFixture(const std::string& sections, const std::string& fields) {
        WriteFile(dir.File("Sections.txt"), sections);
        WriteFile(dir.File("Fields.txt"), fields);
        doc = std::make_shared<tav::ConfigDocument>(tav::LoadCatalogues(
            dir.Path(), [this](const tav::FileError& e) { problems.push_back(e.Message()); }));
        tree = std::make_unique<tav::ConfigTree>(doc);
        tree->resize(500, 700);
    }

    // The first item whose text starts with `prefix`.
    TreeItem Item(const std::string& prefix) const { return ItemStartingWith(*tree, prefix); }
    TreeItem Root() const { return RootItem(*tree); }
    TreeItem Current() const { return CurrentItem(*tree); }

    // The texts of the children of `parent`, each cut at the first blank.
    static std::vector<std::string> Children(const TreeItem& parent) {
        std::vector<std::string> names;
        for (int i = 0; i < parent.childCount(); ++i) {
            const std::string text = parent.child(i).Text();
            names.push_back(text.substr(0, text.find(' ')));
        }
        return names;
    }
};

}  // namespace tavtest
