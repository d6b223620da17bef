#include "shell/SlotFileName.h"

namespace korvana {

namespace {

bool IsUnsafe(QChar c) {
    static const QString kRefused = QStringLiteral("/\\:*?\"<>|");
    return c.unicode() < 0x20 || c.unicode() == 0x7F || kRefused.contains(c) ||
           c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
}

}  // namespace

QString SlotFileName(const QString& slotName) {
    QString name = slotName.left(kMaxSlotFileName);
    for (QChar& c : name) {
        if (IsUnsafe(c)) {
            c = QLatin1Char('_');
        }
    }
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        if (name[i] != QLatin1Char('.') && name[i] != QLatin1Char(' ')) {
            break;
        }
        name[i] = QLatin1Char('_');
    }
    return name.isEmpty() ? QStringLiteral("_") : name;
}

}  // namespace korvana
