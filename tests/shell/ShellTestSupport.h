#pragma once

// Helpers of the window's tests: small Standard MIDI Files with a song name, other files with
// given bytes, the names a folder holds and the texts a list shows.

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "controls/CCJListCtrl.h"

namespace korvana::test {

// A variable-length quantity as the Standard MIDI File writes lengths and delta times.
inline QByteArray VariableLength(quint32 value) {
    QByteArray bytes(1, char(value & 0x7F));
    while ((value >>= 7) != 0) {
        bytes.prepend(char((value & 0x7F) | 0x80));
    }
    return bytes;
}

// A format-0 song at 192 ticks per quarter note whose first meta event names it; padding adds
// a text event of that many bytes, for songs of a given size.
inline QByteArray MidiSong(const QByteArray& songName, int padding = 0) {
    QByteArray track;
    track += QByteArray("\x00\xFF\x03", 3) + VariableLength(songName.size()) + songName;
    if (padding > 0) {
        track += QByteArray("\x00\xFF\x01", 3) + VariableLength(padding) + QByteArray(padding, 'x');
    }
    track += QByteArray("\x00\xFF\x58\x04\x04\x02\x18\x08", 8);
    track += QByteArray("\x00\xFF\x51\x03\x07\xA1\x20", 7);
    track += QByteArray("\x00\x99\x24\x64\x60\x89\x24\x00", 8);
    track += QByteArray("\x00\xFF\x2F\x00", 4);
    QByteArray file("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\xC0", 14);
    const auto length = static_cast<quint32>(track.size());
    file += "MTrk";
    for (int shift : {24, 16, 8, 0}) {
        file += char((length >> shift) & 0xFF);
    }
    return file + track;
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool SetModified(const QString& path, const QDateTime& time) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(time, QFileDevice::FileModificationTime);
}

// Every entry of a folder, hidden ones included, sorted.
inline QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A home and a data folder of the test's own for as long as it lives, so that deleted files go
// to a private trash: <folder>/data/Trash.
class PrivateTrash {
public:
    explicit PrivateTrash(const QString& folder)
        : m_home(folder + QStringLiteral("/home")), m_data(folder + QStringLiteral("/data")) {
        QDir().mkpath(m_home);
        QDir().mkpath(m_data);
        for (const char* name : {"HOME", "XDG_DATA_HOME"}) {
            m_saved.push_back({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
        }
        qputenv("HOME", m_home.toUtf8());
        qputenv("XDG_DATA_HOME", m_data.toUtf8());
    }
    ~PrivateTrash() {
        for (const Saved& saved : m_saved) {
            if (saved.bSet) {
                qputenv(saved.name, saved.value);
            } else {
                qunsetenv(saved.name);
            }
        }
    }
    PrivateTrash(const PrivateTrash&) = delete;
    PrivateTrash& operator=(const PrivateTrash&) = delete;

    QString Folder() const { return m_data + QStringLiteral("/Trash"); }
    // The names of what the trash holds.
    QStringList Files() const { return Entries(Folder() + QStringLiteral("/files")); }

private:
    struct Saved {
        const char* name;
        bool bSet;
        QByteArray value;
    };
    QString m_home;
    QString m_data;
    QList<Saved> m_saved;
};

// The texts of one column, row by row.
inline QStringList Column(const CCJListCtrl& list, int column = 0) {
    QStringList texts;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        texts.push_back(list.GetItemText(row, column));
    }
    return texts;
}

}  // namespace korvana::test
