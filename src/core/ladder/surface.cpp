#include "surface.h"
#include "units.h"

#include <QFontDatabase>
#include <QPainter>

#include <cstdlib>

// The first of the faces that is installed; asking for missing ones costs a font fallback
// search per font, which slows start-up.
static QStringList installedProgramFaces()
{
    QStringList faces;
    for (const QString &face : {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                                QStringLiteral("IPAPGothic")}) {
        if (QFontDatabase::hasFamily(face))
            return {face};
        faces << face;
    }
    return faces;
}

QFont programFont(double pointSize, bool bold)
{
    static const QStringList faces = installedProgramFaces();
    QFont font;
    font.setFamilies(faces);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

// A transparent image in memory the system hands out already zeroed (transparent is all zero
// bits), so that the parts never drawn on are never touched: clearing and starting up stay
// quick, and only the drawn rows take up memory.
static QImage zeroedImage(QSize pixels, qreal devicePixelRatio)
{
    const qsizetype bytesPerLine = qsizetype(pixels.width()) * 4;
    void *bits = std::calloc(size_t(bytesPerLine) * size_t(qMax(0, pixels.height())), 1);
    QImage image;
    if (bits) {
        image = QImage(static_cast<uchar *>(bits), pixels.width(), pixels.height(), bytesPerLine,
                       QImage::Format_ARGB32_Premultiplied, [](void *data) { std::free(data); }, bits);
    } else {
        image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

static QImage blankImage(QSize logicalSize, qreal devicePixelRatio)
{
    return zeroedImage(logicalSize * devicePixelRatio, devicePixelRatio);
}

Surface::Surface(QSize logicalSize, qreal devicePixelRatio)
    : m_image(blankImage(logicalSize, devicePixelRatio))
    , m_font(programFont(9))
{
}

// A fresh image is blank already. A drawn one is blanked in place: a new image for every ladder
// would leave holes in the heap that the process keeps, one image at a time, over a long evening.
void Surface::clear()
{
    if (m_drawn) {
        if (m_image.isDetached())
            m_image.fill(Qt::transparent);
        else
            m_image = zeroedImage(m_image.size(), m_image.devicePixelRatio());
    }
    m_drawn = false;
    m_pen = QPointF();
}

void Surface::setForeColor(uint32_t bgr)
{
    m_color = colorFromBgr(bgr);
}

void Surface::setDrawWidth(int pixels)
{
    m_width = qMax(1, pixels);
}

void Surface::line(double x1, double y1, double x2, double y2)
{
    m_drawn = true;
    QPainter painter(&m_image);
    // Thin lines stay crisp; wider path lines are smoothed and rounded at the ends.
    painter.setRenderHint(QPainter::Antialiasing, m_width > 1);
    painter.setPen(QPen(m_color, m_width, Qt::SolidLine, m_width > 1 ? Qt::RoundCap : Qt::SquareCap,
                        Qt::RoundJoin));
    const QPoint from(twipsToPixels(x1), twipsToPixels(y1));
    const QPoint to(twipsToPixels(x2), twipsToPixels(y2));
    if (from == to)
        painter.drawPoint(from);
    else
        painter.drawLine(from, to);
    m_pen = QPointF(x2, y2);
}

void Surface::lineTo(double x2, double y2)
{
    line(m_pen.x(), m_pen.y(), x2, y2);
}

void Surface::drawText(const QString &text)
{
    m_drawn = true;
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(m_font);
    painter.setPen(m_color);
    const QPoint topLeft(twipsToPixels(m_pen.x()), twipsToPixels(m_pen.y()));
    const QRect box = painter.fontMetrics().boundingRect(text);
    painter.drawText(QRect(topLeft, QSize(box.width() + 4, painter.fontMetrics().height())),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    m_pen.setY(m_pen.y() + pixelsToTwips(painter.fontMetrics().height()));
}

void Surface::ensureSize(QSize logicalSize, qreal devicePixelRatio)
{
    const QSize current = m_image.deviceIndependentSize().toSize();
    if (devicePixelRatio == m_image.devicePixelRatio() && current.width() >= logicalSize.width()
        && current.height() >= logicalSize.height())
        return;
    QImage grown = blankImage(current.expandedTo(logicalSize), devicePixelRatio);
    QPainter painter(&grown);
    painter.drawImage(QPoint(0, 0), m_image);
    painter.end();
    m_image = grown;
}
