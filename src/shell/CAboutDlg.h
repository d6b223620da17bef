#pragma once

// "About Korvana": the icon, the program's name and version, one line on what it is, and OK.

#include <QDialog>

namespace korvana {

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    static QString VersionLine();
    static QString PurposeLine();
};

}  // namespace korvana
