#pragma once

// A decoded picture with its alpha channel and its stored resolution, loaded from a file or from
// the program's own resources.

#include <QImage>
#include <QSizeF>
#include <QString>
#include <memory>

namespace korvana {

class CGdiPlusBitmap {
public:
    CGdiPlusBitmap() = default;
    virtual ~CGdiPlusBitmap() = default;
    CGdiPlusBitmap(const CGdiPlusBitmap&) = delete;
    CGdiPlusBitmap& operator=(const CGdiPlusBitmap&) = delete;

    // Decodes a picture file (a path or a ":/" resource path). Any earlier picture is released
    // first; false when the file is missing, empty or not a picture.
    bool Load(const QString& path);
    void Empty() { m_pBitmap.reset(); }

    bool IsLoaded() const { return m_pBitmap != nullptr; }
    const QImage* Bitmap() const { return m_pBitmap.get(); }

    // The picture's size at its stored resolution on a 96-dpi layout, in layout pixels: a
    // 315-pixel-wide picture stored at 300 dpi is about 101 pixels wide. Pictures without a
    // resolution count as 96 dpi.
    QSizeF PhysicalSize() const;

protected:
    std::unique_ptr<QImage> m_pBitmap;
};

class CGdiPlusBitmapResource : public CGdiPlusBitmap {
public:
    CGdiPlusBitmapResource() = default;
    CGdiPlusBitmapResource(int id, const QString& type) { Load(id, type); }

    using CGdiPlusBitmap::Load;
    // Loads the picture with this id and type (as "PNG") from the program's resources.
    bool Load(int id, const QString& type);

    // Where a resource lives: ":/png/151.png" for id 151 of type "PNG".
    static QString ResourcePath(int id, const QString& type);
};

}  // namespace korvana
