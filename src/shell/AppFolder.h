#pragma once

// Where the program lives and where it keeps its songs.

#include <QString>

namespace korvana {

// The folder of the running executable, ending in '/'.
QString GetAppFolder();

// Makes sure a folder and all its parents exist. Failures show later as missing files.
void CreateFolderPath(const QString& path);

// Opens the file of that name with its associated program: from the program folder in the build
// tree, from <prefix>/share/korvana for an installed program.
bool OpenAppFile(const QString& name);

// "Repository/" in programFolder when it can be created there and written to, otherwise
// "Repository/" in dataFolder (created if missing). Both arguments and the result end in '/'.
QString ChooseRepositoryFolder(const QString& programFolder, const QString& dataFolder);

// The repository of this installation: in the per-user data folder for an installed program;
// otherwise beside the executable when writable (a portable install, the build tree), else in
// the per-user data folder.
QString LocateRepositoryFolder();

// The help document: "Help.mht" where the platform opens web archives, "Help.html" elsewhere.
QString HelpDocumentName();

}  // namespace korvana
