#include "gui/widgets/pictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>

#include <array>

// Resources of a static library are not registered on their own; this must sit outside any
// namespace because the macro declares the registration function where it is used.
static void registerPictureResources() {
    Q_INIT_RESOURCE(pictures);
}

namespace pictures {
namespace {

void ensureRegistered() {
    static const bool registered = (registerPictureResources(), true);
    Q_UNUSED(registered);
}

qreal primaryScreenRatio() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

// The largest rectangle of the picture's proportions centred in the target.
QRectF fitted(QSizeF picture, const QRectF& target) {
    if (picture.isEmpty())
        return target;
    const QSizeF size = picture.scaled(target.size(), Qt::KeepAspectRatio);
    return QRectF(target.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

bool load(QSvgRenderer& renderer, const QString& name) {
    const QString path = resourcePath(name);
    return QFile::exists(path) && renderer.load(path);
}

// The picture in a transparent pixmap of logicalSize times ratio device pixels.
QPixmap draw(QSvgRenderer& renderer, QSize logicalSize, qreal ratio) {
    if (logicalSize.isEmpty())
        return {};
    QPixmap result((QSizeF(logicalSize) * ratio).toSize());
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                           QPainter::TextAntialiasing);
    const QRectF area = fitted(renderer.viewBoxF().size(), QRectF(result.rect()));
    // Shapes that reach past the view box must not spill into the margins.
    painter.setClipRect(area);
    renderer.render(&painter, area);
    painter.end();
    result.setDevicePixelRatio(ratio);
    return result;
}

} // namespace

QStringList names() {
    return {"titlepage", "backdrop", "customers", "parts", "newitem", "items", "icon"};
}

QString resourcePath(const QString& name) {
    ensureRegistered();
    return QStringLiteral(":/pictures/%1.svg").arg(name);
}

QPixmap pixmap(const QString& name, QSize logicalSize, qreal devicePixelRatio) {
    QSvgRenderer renderer;
    if (!load(renderer, name))
        return {};
    return draw(renderer, logicalSize,
                devicePixelRatio > 0 ? devicePixelRatio : primaryScreenRatio());
}

QPixmap fitted(const QImage& image, QSize room, qreal devicePixelRatio, bool enlarge) {
    if (image.isNull() || room.isEmpty())
        return {};
    const qreal ratio = qMax<qreal>(devicePixelRatio, 1.0);
    // How many image pixels fall on one device-independent pixel when the image just fits.
    const qreal needed = qMax(qreal(image.width()) / room.width(),
                              qreal(image.height()) / room.height());
    QPixmap result;
    if (needed > ratio || (enlarge && needed < ratio)) {
        result = QPixmap::fromImage(image.scaled((QSizeF(room) * ratio).toSize(),
                                                 Qt::KeepAspectRatio, Qt::SmoothTransformation));
        result.setDevicePixelRatio(ratio);
    } else {
        result = QPixmap::fromImage(image);
        result.setDevicePixelRatio(qMax<qreal>(needed, 1.0));
    }
    return result;
}

void showFitted(QLabel& label, const QImage& image, bool enlarge) {
    label.setPixmap(
        fitted(image, label.contentsRect().size(), label.devicePixelRatioF(), enlarge));
}

QIcon icon(const QString& name) {
    QSvgRenderer renderer;
    if (!load(renderer, name))
        return {};
    QIcon result;
    for (const int side : std::array{16, 24, 32, 48, 64, 128, 256}) {
        for (const qreal ratio : {1.0, 2.0})
            result.addPixmap(draw(renderer, QSize(side, side), ratio));
    }
    return result;
}

} // namespace pictures
