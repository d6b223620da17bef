#pragma once

// What the window remembers between runs, in the user's settings: the keyboard's ports (by
// name, as port numbers change when devices come and go), the browser's folder, the window's
// place and size, how each list is sorted, and "Verify after sending". Nothing else is kept.

#include <QByteArray>
#include <QString>
#include <optional>

namespace korvana {

class WindowSettings {
public:
    struct Ports {
        QString strIn;
        QString strOut;
    };
    struct Sort {
        int nColumn = 0;
        bool bAscending = true;
    };

    static Ports LoadPorts();
    static void SavePorts(const Ports& ports);

    static QString LoadBrowserFolder();
    static void SaveBrowserFolder(const QString& folder);

    static QByteArray LoadGeometry();
    static void SaveGeometry(const QByteArray& geometry);

    // The sort of the list of that name; nothing before its first header click.
    static std::optional<Sort> LoadSort(const QString& list);
    static void SaveSort(const QString& list, const Sort& sort);

    // Whether a send reads the slot back to prove the song arrived intact. Off until chosen, as
    // it doubles the time a send takes on a slow MIDI cable.
    static bool LoadVerifyAfterSending();
    static void SaveVerifyAfterSending(bool verify);
};

}  // namespace korvana
