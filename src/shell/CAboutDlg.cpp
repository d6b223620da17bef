#include "shell/CAboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include "controls/AppIcon.h"

namespace korvana {

namespace {

// The box's layout in pixels: its dialog units at the 1.5 x 1.625 pixels of the system font.
constexpr QSize kBoxSize(353, 140);
constexpr QRect kIconRect(16, 28, 32, 32);
constexpr QRect kVersionRect(90, 45, 250, 16);
constexpr QRect kPurposeRect(90, 75, 250, 16);
constexpr QRect kOkRect(267, 102, 75, 26);

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Korvana"));
    setFixedSize(kBoxSize);
    auto* icon = new QLabel(this);
    icon->setPixmap(LoadAppIcon().pixmap(kIconRect.size()));
    icon->setGeometry(kIconRect);
    (new QLabel(VersionLine(), this))->setGeometry(kVersionRect);
    (new QLabel(PurposeLine(), this))->setGeometry(kPurposeRect);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(kOkRect);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QString CAboutDlg::VersionLine() {
    return QStringLiteral("Korvana Version " KORVANA_VERSION);
}

QString CAboutDlg::PurposeLine() {
    return QStringLiteral("Styles for your arranger keyboard");
}

}  // namespace korvana
