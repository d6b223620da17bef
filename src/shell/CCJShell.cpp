#include "shell/CCJShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileIconProvider>
#include <QHash>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

#include "controls/CCJListCtrl.h"
#include "controls/CCJSortClass.h"
#include "shell/SongName.h"

namespace korvana {

namespace {

QMimeType MimeTypeOf(const QFileInfo& info) {
    static const QMimeDatabase database;
    if (info.isDir()) {
        return database.mimeTypeForName(QStringLiteral("inode/directory"));
    }
    // By name only: the lists show thousands of files, and the name decides the type here.
    return database.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
}

QIcon IconOfType(const QMimeType& type, bool folder) {
    // Looking an icon up is slow next to reading a small song, so each type is asked once.
    static QHash<QString, QIcon> cache;
    const auto found = cache.constFind(type.name());
    if (found != cache.constEnd()) {
        return *found;
    }
    QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    if (icon.isNull()) {
        static const QFileIconProvider provider;
        icon = provider.icon(folder ? QAbstractFileIconProvider::Folder
                                    : QAbstractFileIconProvider::File);
    }
    cache.insert(type.name(), icon);
    return icon;
}

}  // namespace

QString CCJShell::FormatFileSize(quint64 bytes) {
    if (bytes == 0) {
        return QStringLiteral("0KB");
    }
    if (bytes < 1000) {
        return QStringLiteral("1KB");
    }
    return QStringLiteral("%1KB").arg(bytes / 1000);
}

QString CCJShell::FormatFileTime(const QDateTime& time) {
    if (!time.isValid()) {
        return {};
    }
    const QDateTime local = time.toLocalTime();
    const QDate date = local.date();
    const QTime clock = local.time();
    return QString::asprintf("%.2d/%.2d/%d %.2d:%.2d", date.month(), date.day(), date.year(),
                             clock.hour(), clock.minute());
}

QString CCJShell::GetDisplayName(const QFileInfo& info) {
    return info.fileName();
}

QString CCJShell::GetTypeName(const QFileInfo& info) {
    return MimeTypeOf(info).comment();
}

QIcon CCJShell::GetIcon(const QFileInfo& info) {
    return IconOfType(MimeTypeOf(info), info.isDir());
}

QIcon CCJShell::MidiFileIcon() {
    return GetIcon(QFileInfo(QStringLiteral("tmp.mid")));
}

bool CCJShell::PathExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool CCJShell::ShellOpen(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void CCJShell::ShellOpen(const QString& path, const std::function<void()>& onFailure) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // The desktop's opener is started and forgotten by Qt, which then reports success even when
    // no program takes the file: its exit status tells.
    auto* opener = new QProcess;
    QObject::connect(opener, &QProcess::errorOccurred, opener,
                     [opener, onFailure](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             onFailure();
                             opener->deleteLater();
                         }
                     });
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, onFailure](int code, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || code != 0) {
                             onFailure();
                         }
                         opener->deleteLater();
                     });
    opener->start(QStringLiteral("xdg-open"), {path});
#else
    if (!ShellOpen(path)) {
        onFailure();
    }
#endif
}

QString CCJShell::JoinPath(const QString& folder, const QString& name) {
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/'))) {
        return folder + name;
    }
    return folder + QLatin1Char('/') + name;
}

const std::array<int, 5> CCJShell::c_midiSortKinds{CCJSortClass::SORT_FILE, CCJSortClass::SORT_TEXT,
                                                   CCJSortClass::SORT_INT, CCJSortClass::SORT_TEXT,
                                                   CCJSortClass::SORT_DATETIME};

void CCJShell::KeepMidiColumnsWhole(CCJListCtrl& list) {
    list.KeepColumnWhole(2, FormatFileSize(99'999'000));
    list.KeepColumnWhole(4, FormatFileTime(QDateTime(QDate(2000, 12, 28), QTime(20, 0))));
}

QStringList CCJShell::MidiRowTexts(const QFileInfo& info) {
    const bool folder = info.isDir();
    return {GetDisplayName(info), folder ? QString() : ReadSongName(info.filePath()),
            folder || info.size() == 0 ? QString() : FormatFileSize(info.size()), GetTypeName(info),
            FormatFileTime(info.lastModified())};
}

std::filesystem::path CCJShell::ToPath(const QString& path) {
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    // The file system's own bytes, so that names in any encoding reach the same file.
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QString CCJShell::FromPath(const std::filesystem::path& path) {
#ifdef Q_OS_WIN
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(path.native().c_str());
#endif
}

}  // namespace korvana
