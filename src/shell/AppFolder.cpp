#include "shell/AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "common/DataPaths.h"
#include "shell/CCJShell.h"

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

}  // namespace

QString GetAppFolder() {
    static const QString folder = WithSlash(QCoreApplication::applicationDirPath());
    return folder;
}

void CreateFolderPath(const QString& path) {
    QDir().mkpath(path);
}

QString GetDataFolder() {
    static const QString folder =
        WithSlash(CCJShell::FromPath(LocateProgramData(CCJShell::ToPath(GetAppFolder())).folder));
    return folder;
}

QString ChooseRepositoryFolder(const QString& programFolder, const QString& dataFolder,
                               bool installed) {
    if (!installed) {
        const QString beside = WithSlash(programFolder) + kRepository;
        CreateFolderPath(beside);
        if (IsWritableFolder(beside)) {
            return beside;
        }
    }
    const QString personal = WithSlash(dataFolder) + kRepository;
    CreateFolderPath(personal);
    return personal;
}

QString LocateRepositoryFolder() {
    return ChooseRepositoryFolder(GetAppFolder(),
                                  QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                                  LocateProgramData(CCJShell::ToPath(GetAppFolder())).installed);
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
