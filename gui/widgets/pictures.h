#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

class QLabel;

// The program's own pictures, drawn as SVG and compiled into the program. A picture is named by
// its file's base name: "titlepage", "backdrop", "customers", "parts", "newitem", "items", "icon".
namespace pictures {

// Every picture's name.
QStringList names();

// The resource path of a picture, such as ":/pictures/parts.svg".
QString resourcePath(const QString& name);

// The picture drawn into a pixmap of logicalSize device-independent pixels at the given device
// pixel ratio (0 takes the primary screen's), so it stays sharp on high-resolution screens. The
// picture keeps its proportions and is centred; the rest of the pixmap is transparent. A null
// pixmap for an unknown name or an empty size.
QPixmap pixmap(const QString& name, QSize logicalSize, qreal devicePixelRatio = 0);

// A photograph (a part's picture) made to fit `room` device-independent pixels on a screen of
// the given device pixel ratio: it keeps its proportions, uses the screen's own pixels instead
// of being scaled up by it. A smaller image is enlarged to the room only when `enlarge` is set.
QPixmap fitted(const QImage& image, QSize room, qreal devicePixelRatio, bool enlarge = false);
// The same, shown in a label: fitted to the room inside its frame on its own screen.
void showFitted(QLabel& label, const QImage& image, bool enlarge = false);

// An icon holding the picture at several sizes, each at 1x and 2x. A null icon for an unknown name.
QIcon icon(const QString& name);

} // namespace pictures
