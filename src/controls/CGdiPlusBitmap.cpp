#include "controls/CGdiPlusBitmap.h"

#include <QFile>

#include "resources/KorvanaResources.h"

namespace korvana {

namespace {

constexpr double kLayoutDpi = 96.0;
constexpr double kInchesPerMetre = 1.0 / 0.0254;

double DotsPerInch(int dotsPerMetre) {
    return dotsPerMetre > 0 ? dotsPerMetre / kInchesPerMetre : kLayoutDpi;
}

}  // namespace

bool CGdiPlusBitmap::Load(const QString& path) {
    m_pBitmap.reset();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty()) {
        return false;
    }
    auto image = std::make_unique<QImage>();
    if (!image->loadFromData(bytes) || image->isNull()) {
        return false;
    }
    m_pBitmap = std::move(image);
    return true;
}

QSizeF CGdiPlusBitmap::PhysicalSize() const {
    if (m_pBitmap == nullptr) {
        return {};
    }
    return {m_pBitmap->width() * kLayoutDpi / DotsPerInch(m_pBitmap->dotsPerMeterX()),
            m_pBitmap->height() * kLayoutDpi / DotsPerInch(m_pBitmap->dotsPerMeterY())};
}

bool CGdiPlusBitmapResource::Load(int id, const QString& type) {
    InitResources();
    return CGdiPlusBitmap::Load(ResourcePath(id, type));
}

QString CGdiPlusBitmapResource::ResourcePath(int id, const QString& type) {
    const QString kind = type.toLower();
    return QStringLiteral(":/%1/%2.%1").arg(kind).arg(id);
}

}  // namespace korvana
