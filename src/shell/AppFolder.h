#pragma once

// Where the program lives and where it keeps its songs.

#include <QString>

namespace korvana {

// The folder of the running executable, ending in '/'.
QString GetAppFolder();

// Makes sure a folder and all its parents exist. Failures show later as missing files.
void CreateFolderPath(const QString& path);

// The folder of the program's read-only data (help, samples), ending in '/': the program
// folder in a build tree, <prefix>/share/korvana in an install.
QString GetDataFolder();

// "Repository/" in programFolder when it can be created there and written to, unless the
// program is installed under a prefix, whose folders are no place for the user's files;
// otherwise "Repository/" in dataFolder (created if missing). Folders end in '/'.
QString ChooseRepositoryFolder(const QString& programFolder, const QString& dataFolder,
                               bool installed);

// The repository of this program: beside the executable in a build tree or a portable install,
// in the per-user data folder otherwise.
QString LocateRepositoryFolder();

// The help document: "Help.mht" where the platform opens web archives, "Help.html" elsewhere.
QString HelpDocumentName();

}  // namespace korvana
