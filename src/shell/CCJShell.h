#pragma once

// The file facts every list shows: display names, type names and icons from the platform, and
// the size and time texts in the program's own fixed formats.

#include <QDateTime>
#include <QFileInfo>
#include <QIcon>
#include <QString>
#include <QStringList>
#include <array>
#include <filesystem>
#include <functional>

namespace korvana {

class CCJListCtrl;

class CCJShell {
public:
    // Whole kilobytes of 1000 bytes: "0KB" for 0, "1KB" for 1 to 1999, then "%dKB" of
    // bytes / 1000 with the remainder dropped.
    static QString FormatFileSize(quint64 bytes);

    // "%.2d/%.2d/%d %.2d:%.2d": month/day/year hour:minute in local time; empty when absent.
    static QString FormatFileTime(const QDateTime& time);

    // The entry's name as shown: the file or folder name with its extension.
    static QString GetDisplayName(const QFileInfo& info);

    // The platform's description of the entry's type.
    static QString GetTypeName(const QFileInfo& info);

    // The platform's icon for the entry's type.
    static QIcon GetIcon(const QFileInfo& info);

    // The icon the platform shows for a MIDI file.
    static QIcon MidiFileIcon();

    // True when an entry of that name exists, a dangling link included.
    static bool PathExists(const QString& path);

    // Opens a file with the program the platform associates with it.
    static bool ShellOpen(const QString& path);
    // The same, and onFailure runs (from the event loop) when no program takes the file.
    static void ShellOpen(const QString& path, const std::function<void()>& onFailure);

    // folder + name, with one separator between them.
    static QString JoinPath(const QString& folder, const QString& name);

    // The five columns of a MIDI file row: name, song name, size (empty for 0 bytes and for
    // folders), type and modification time.
    static QStringList MidiRowTexts(const QFileInfo& info);
    // How each of those columns sorts: names with folders first, song names and types as text,
    // sizes as numbers, times as dates.
    static const std::array<int, 5> c_midiSortKinds;
    // Keeps the size and the time of those columns whole in a list too narrow for all of them.
    static void KeepMidiColumnsWhole(CCJListCtrl& list);

    // A path the standard library can open, whatever the characters of the name.
    static std::filesystem::path ToPath(const QString& path);
    static QString FromPath(const std::filesystem::path& path);
};

}  // namespace korvana
