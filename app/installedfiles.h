// Where the editor finds the files of its installation: the catalogues (by the search both
// programs share, see catalog/cataloguefolder.h) and the help file.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

#include "catalog/cataloguefolder.h"

namespace tav {

class MessageReporter;

// The folder the editor reads its catalogues from. `arguments` is the whole command line (the
// program first): "--catalogues DIR" or "--catalogues=DIR" names the folder (made absolute against
// the current folder), and then no other is looked in; the last one given counts, one without a
// value is ignored. Otherwise the first folder of FindCatalogueFolder(programFolder, env) that
// holds both files. When that search finds none, `messages` is told where it looked and what to
// do (the one message about it), and the empty text is returned: the window then opens without
// catalogues and says nothing more.
std::string EditorCatalogueFolder(const QStringList& arguments, const QString& programFolder,
                                  const CatalogueEnvironment& env, MessageReporter& messages);

// EditorCatalogueFolder with the environment of this process (ProcessCatalogueEnvironment).
std::string EditorCatalogueFolder(const QStringList& arguments, const QString& programFolder,
                                  MessageReporter& messages);

// The folder of the help files: `programFolder` when taca.chm or taca.hlp is there (a build tree
// or a copied folder), otherwise the installation's data folder (InstalledDataFolder).
QString HelpFolder(const QString& programFolder);

}  // namespace tav
