#include "shell/FileDeletion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "common/Prompt.h"
#include "shell/CCJShell.h"

namespace korvana {

namespace {

bool IsRealFolder(const QFileInfo& info) {
    return info.isDir() && !info.isSymLink();
}

std::string NameLines(const QStringList& paths) {
    QString lines;
    const qsizetype named = std::min<qsizetype>(paths.size(), kMaxNamedEntries);
    for (qsizetype i = 0; i < named; ++i) {
        const QFileInfo info(paths[i]);
        lines += QLatin1Char('\n') + info.fileName();
        if (IsRealFolder(info)) {
            lines += QStringLiteral("/ (the folder and everything in it)");
        }
    }
    if (paths.size() > named) {
        lines += QStringLiteral("\nand %1 more").arg(paths.size() - named);
    }
    return lines.toStdString();
}

bool DeleteForGood(const QString& path) {
    const QFileInfo info(path);
    return IsRealFolder(info) ? QDir(path).removeRecursively() : QFile::remove(path);
}

}  // namespace

std::string DeleteQuestion(const QStringList& paths, bool toTrash) {
    return "Delete files?\n" + NameLines(paths) + "\n\n" +
           (toTrash ? "They are moved to the trash."
                    : "There is no trash here: they are deleted for good.");
}

bool TrashAvailable() {
#if defined(Q_OS_ANDROID) || defined(Q_OS_IOS) || defined(Q_OS_WASM)
    return false;
#else
    return true;
#endif
}

bool MoveToTrash(const QString& path) {
    QString inTrash;
    if (!QFile::moveToTrash(path, &inTrash)) {
        return false;
    }
    // Where no trash folder can be made, Qt may "trash" into a relative folder of the working
    // directory, where nobody would look: such a move is undone and counts as refused.
    if (QFileInfo(inTrash).isAbsolute()) {
        return true;
    }
    QDir().rename(inTrash, path);
    const QDir trash = QFileInfo(inTrash).dir();
    QFile::remove(trash.filePath(QStringLiteral("../info/") + QFileInfo(inTrash).fileName() +
                                 QStringLiteral(".trashinfo")));
    for (const QString& folder : {QStringLiteral("../info"), QStringLiteral("../files")}) {
        QDir().rmdir(trash.filePath(folder));  // only when empty
    }
    return false;
}

bool AskAndDeleteEntries(const QStringList& paths, const TrashFunction& toTrash) {
    const bool trash = TrashAvailable();
    if (Prompt().Ask(DeleteQuestion(paths, trash), PromptButtons::YesNo) != PromptAnswer::Yes) {
        return false;
    }
    QStringList refused;
    for (const QString& path : paths) {
        const bool gone = trash ? toTrash(path) : DeleteForGood(path);
        if (!gone && trash && CCJShell::PathExists(path)) {
            refused.push_back(path);
        }
    }
    if (!refused.isEmpty() && Prompt().Ask("These cannot be moved to the trash:\n" +
                                               NameLines(refused) + "\n\nDelete them for good?",
                                           PromptButtons::YesNo) == PromptAnswer::Yes) {
        for (const QString& path : refused) {
            DeleteForGood(path);
        }
    }
    return true;
}

}  // namespace korvana
