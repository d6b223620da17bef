// Draws every picture of the program into a resources folder:
//   png/149.png ... png/162.png   button faces at 300 dpi
//   png/1011.png                  the start-up picture
//   icons/korvana-<size>.png      the application icon for the program itself
//   icons/hicolor/...             the same for desktop packaging, plus a scalable SVG

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "ArtStyle.h"
#include "ButtonArt.h"
#include "IconArt.h"
#include "SplashArt.h"

namespace {

using namespace korvana::art;

bool Save(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool WriteFaces(const std::vector<FaceSpec>& faces, const QDir& out) {
    const qreal wordSize = FittingWordSize(faces);
    std::printf("word size %.1f px for %zu face(s)\n", wordSize, faces.size());
    bool ok = true;
    for (const FaceSpec& face : faces) {
        ok &= Save(DrawFace(face, kSymbolBlue, wordSize),
                   out.filePath(QStringLiteral("png/%1.png").arg(face.normalId)));
        ok &= Save(DrawFace(face, kSymbolRed, wordSize),
                   out.filePath(QStringLiteral("png/%1.png").arg(face.activeId)));
    }
    return ok;
}

bool WriteIcons(const QDir& out) {
    bool ok = true;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage icon = DrawIcon(size);
        ok &= Save(icon, out.filePath(QStringLiteral("icons/korvana-%1.png").arg(size)));
        if (size == 48 || size == 128 || size == 256) {
            ok &= Save(icon, out.filePath(
                                 QStringLiteral("icons/hicolor/%1x%1/apps/korvana.png").arg(size)));
        }
    }
    const QString svgPath = out.filePath(QStringLiteral("icons/hicolor/scalable/apps/korvana.svg"));
    QDir().mkpath(QFileInfo(svgPath).absolutePath());
    QFile svg(svgPath);
    if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        svg.write(IconSvg().toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(svgPath));
        return false;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = WriteFaces(CommandBarFaces(), out);
    ok &= WriteFaces({DownloadFace()}, out);
    ok &= Save(DrawSplash(), out.filePath(QStringLiteral("png/1011.png")));
    ok &= WriteIcons(out);
    return ok ? 0 : 1;
}
