#include "shell/WindowSettings.h"

#include <QSettings>

namespace korvana {

namespace {

// Named in full: the application's organisation stays empty, as it names the data folder.
QSettings Settings() {
    return QSettings(QStringLiteral("Korvana"), QStringLiteral("Korvana"));
}

const QString kPortIn = QStringLiteral("ports/in");
const QString kPortOut = QStringLiteral("ports/out");
const QString kBrowserFolder = QStringLiteral("browser/folder");
const QString kGeometry = QStringLiteral("window/geometry");
const QString kVerify = QStringLiteral("transfer/verifyAfterSending");

QString SortKey(const QString& list) {
    return QStringLiteral("sort/") + list;
}

}  // namespace

WindowSettings::Ports WindowSettings::LoadPorts() {
    const QSettings settings = Settings();
    return {settings.value(kPortIn).toString(), settings.value(kPortOut).toString()};
}

void WindowSettings::SavePorts(const Ports& ports) {
    QSettings settings = Settings();
    settings.setValue(kPortIn, ports.strIn);
    settings.setValue(kPortOut, ports.strOut);
}

QString WindowSettings::LoadBrowserFolder() {
    return Settings().value(kBrowserFolder).toString();
}

void WindowSettings::SaveBrowserFolder(const QString& folder) {
    Settings().setValue(kBrowserFolder, folder);
}

QByteArray WindowSettings::LoadGeometry() {
    return Settings().value(kGeometry).toByteArray();
}

void WindowSettings::SaveGeometry(const QByteArray& geometry) {
    Settings().setValue(kGeometry, geometry);
}

std::optional<WindowSettings::Sort> WindowSettings::LoadSort(const QString& list) {
    const QString value = Settings().value(SortKey(list)).toString();
    const QStringList parts = value.split(QLatin1Char(','));
    bool number = false;
    const int column = parts.value(0).toInt(&number);
    if (parts.size() != 2 || !number || column < 0) {
        return std::nullopt;
    }
    return Sort{column, parts[1] == QStringLiteral("ascending")};
}

void WindowSettings::SaveSort(const QString& list, const Sort& sort) {
    Settings().setValue(SortKey(list), QString::number(sort.nColumn) + QLatin1Char(',') +
                                           (sort.bAscending ? QStringLiteral("ascending")
                                                            : QStringLiteral("descending")));
}

bool WindowSettings::LoadVerifyAfterSending() {
    return Settings().value(kVerify, false).toBool();
}

void WindowSettings::SaveVerifyAfterSending(bool verify) {
    Settings().setValue(kVerify, verify);
}

}  // namespace korvana
