#pragma once

// The faces of the picture buttons: a pale turquoise plate carrying a symbol and the button's
// word. A button's normal face has a blue symbol, its active face the same symbol in red.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <vector>

namespace korvana::art {

enum class Symbol {
    ChainLink,
    CirclingArrows,
    TriangleUp,
    TriangleDown,
    QuestionMark,
    LetterI,
    ArrowLeft
};

struct FaceSpec {
    int normalId;
    int activeId;
    int width;
    int height;
    QString word;
    Symbol symbol;
};

// The six command-bar buttons, and the transfer view's Download button.
std::vector<FaceSpec> CommandBarFaces();
FaceSpec DownloadFace();

// The largest word size (in pixels, at most a limit) at which every face's word fits its plate.
qreal FittingWordSize(const std::vector<FaceSpec>& faces);

QImage DrawFace(const FaceSpec& face, const QColor& symbolColour, qreal wordPixelSize);

void DrawSymbol(QPainter& painter, Symbol symbol, const QRectF& box, const QColor& colour);

}  // namespace korvana::art
