#include "AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "CCJShell.h"
#include "DataPaths.h"

namespace korvana {

namespace {

const QString kRepository = QStringLiteral("Repository/");

QString WithSlash(QString folder) {
    if (!folder.endsWith(QLatin1Char('/'))) {
        folder += QLatin1Char('/');
    }
    return folder;
}

bool IsWritableFolder(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
}

const ProgramData& ThisProgramData() {
    static const ProgramData data =
        LocateProgramData(QCoreApplication::applicationDirPath().toStdU16String());
    return data;
}

// The folder of the help documents: the program folder in the build tree,
// <prefix>/share/korvana for an installed program.
QString DataFolder() {
    return WithSlash(QString::fromStdU16String(ThisProgramData().folder.generic_u16string()));
}

QString PersonalRepositoryFolder(const QString& dataFolder) {
    const QString personal = WithSlash(dataFolder) + kRepository;
    CreateFolderPath(personal);
    return personal;
}

}  // namespace

QString GetAppFolder() {
    static const QString folder = WithSlash(QCoreApplication::applicationDirPath());
    return folder;
}

void CreateFolderPath(const QString& path) {
    QDir().mkpath(path);
}

bool OpenAppFile(const QString& name) {
    return CCJShell::ShellOpen(DataFolder() + name);
}

QString ChooseRepositoryFolder(const QString& programFolder, const QString& dataFolder) {
    const QString beside = WithSlash(programFolder) + kRepository;
    CreateFolderPath(beside);
    if (IsWritableFolder(beside)) {
        return beside;
    }
    return PersonalRepositoryFolder(dataFolder);
}

QString LocateRepositoryFolder() {
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // An installed program's folder is no place for a user's songs, even where it is writable
    // (a prefix in the home folder, or a run as root).
    if (ThisProgramData().installed) {
        return PersonalRepositoryFolder(dataFolder);
    }
    return ChooseRepositoryFolder(GetAppFolder(), dataFolder);
}

QString HelpDocumentName() {
#ifdef Q_OS_WIN
    return QStringLiteral("Help.mht");
#else
    // Browsers here do not open web archives, and no other program does either.
    return QStringLiteral("Help.html");
#endif
}

}  // namespace korvana
