// Where the editor finds the files of its installation: the catalogues (by the search both
// programs share, see catalog/cataloguefolder.h) and the help file.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

#include "catalog/cataloguefolder.h"

namespace tav {

class CatalogueChoice;

// The editor's catalogue folder at start, and whether the user has just chosen it.
struct StartCatalogues {
    std::string folder;   // empty: none, and the user decided to go on without
    bool chosen = false;  // chosen in the question at start: to be remembered
};

// The folder the editor reads its catalogues from. `arguments` is the whole command line (the
// program first): "--catalogues DIR" or "--catalogues=DIR" names the folder (made absolute against
// the current folder), and then no other is looked in; the last one given counts, one without a
// value is ignored. Otherwise the first folder of FindCatalogueFolder(programFolder, env) that
// holds both files (env.remembered, the folder the settings remember, first). When that search
// finds none, `choice` asks the user (the one question about it, saying where the search looked)
// and the folder chosen is returned as chosen; the empty text when the user goes on without.
StartCatalogues EditorCatalogueFolder(const QStringList& arguments, const QString& programFolder,
                                      const CatalogueEnvironment& env, CatalogueChoice& choice);

// The installation's example catalogues: the "examples" folder of its data folder
// (InstalledDataFolder) when it holds both files; empty otherwise (a build tree, a copied folder).
std::string ExampleCatalogueFolder(const QString& programFolder);

// The folder of the help files: `programFolder` when taca.chm or taca.hlp is there (a build tree
// or a copied folder), otherwise the installation's data folder (InstalledDataFolder).
QString HelpFolder(const QString& programFolder);

}  // namespace tav
