#include "shell/VerifySetting.h"

#include <QSettings>

namespace korvana {

namespace {

const QString kVerifyKey = QStringLiteral("transfer/verifyAfterSending");

// Named in full: the application's organisation stays empty, as it names the data folder.
QSettings Settings() {
    return QSettings(QStringLiteral("Korvana"), QStringLiteral("Korvana"));
}

}  // namespace

bool VerifyAfterSending() {
    return Settings().value(kVerifyKey, false).toBool();
}

void SetVerifyAfterSending(bool verify) {
    Settings().setValue(kVerifyKey, verify);
}

}  // namespace korvana
