#include "surface.h"
#include "units.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

#include <cmath>

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

// The image for an area of the window at a scale: its device-independent size is the area scaled.
static QImage blankImage(QSize area, double scale, qreal devicePixelRatio)
{
    const QSize pixels(int(std::ceil(area.width() * scale * devicePixelRatio)),
                       int(std::ceil(area.height() * scale * devicePixelRatio)));
    return zeroedImage(pixels, devicePixelRatio);
}

Surface::Surface(QSize logicalSize, qreal devicePixelRatio)
    : m_image(blankImage(logicalSize, 1.0, devicePixelRatio))
    , m_area(logicalSize)
    , m_devicePixelRatio(devicePixelRatio)
    , m_font(programFont(9))
{
}

// A fresh image is blank already. A drawn one is blanked in place: a new image for every ladder
// would leave holes in the heap that the process keeps, one image at a time, over a long evening.
void Surface::clear()
{
    if (!m_marks.empty()) {
        if (m_image.isDetached())
            m_image.fill(Qt::transparent);
        else
            m_image = zeroedImage(m_image.size(), m_image.devicePixelRatio());
    }
    m_marks.clear();
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
    draw({QPointF(x1, y1), QPointF(x2, y2), m_color, m_width, QString(), QFont()});
    m_pen = QPointF(x2, y2);
}

void Surface::lineTo(double x2, double y2)
{
    line(m_pen.x(), m_pen.y(), x2, y2);
}

void Surface::drawText(const QString &text)
{
    draw({m_pen, m_pen, m_color, m_width, text, m_font});
    // The next line starts one line of the font at 100 % further down, whatever the scale.
    m_pen.setY(m_pen.y() + pixelsToTwips(QFontMetrics(m_font, &m_image).height()));
}

void Surface::draw(Mark mark)
{
    QPainter painter(&m_image);
    paint(painter, mark);
    m_marks.push_back(std::move(mark));
}

// Points fall on whole pixels of the scaled drawing, as they fall on whole pixels at 100 %.
QPoint Surface::pixelAt(QPointF twips) const
{
    return QPoint(int(std::lround(twips.x() * m_scale / kTwipsPerPixel)),
                  int(std::lround(twips.y() * m_scale / kTwipsPerPixel)));
}

void Surface::paint(QPainter &painter, const Mark &mark) const
{
    const auto at = [this](QPointF twips) { return pixelAt(twips); };
    if (!mark.text.isEmpty()) {
        QFont font = mark.font;
        font.setPointSizeF(font.pointSizeF() * m_scale);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(font);
        painter.setPen(mark.color);
        const QFontMetrics metrics = painter.fontMetrics();
        painter.drawText(QRect(at(mark.from), QSize(metrics.boundingRect(mark.text).width() + 4, metrics.height())),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, mark.text);
        return;
    }
    // Thin lines stay crisp, whole pixels wide; wider path lines are smoothed and rounded at the ends.
    const bool thin = mark.width == 1;
    const double width = thin ? qMax(1.0, std::round(m_scale)) : mark.width * m_scale;
    painter.setRenderHint(QPainter::Antialiasing, !thin);
    painter.setPen(QPen(mark.color, width, Qt::SolidLine, thin ? Qt::SquareCap : Qt::RoundCap, Qt::RoundJoin));
    const QPoint from = at(mark.from);
    const QPoint to = at(mark.to);
    if (from == to)
        painter.drawPoint(from);
    else
        painter.drawLine(from, to);
}

void Surface::paintLines(QPainter &painter, const std::vector<QPointF> &points, uint32_t bgr, int width) const
{
    const QColor color = colorFromBgr(bgr);
    for (size_t i = 1; i < points.size(); ++i)
        paint(painter, {points[i - 1], points[i], color, qMax(1, width), QString(), QFont()});
}

// The lines' corners at the current scale, grown by the pen's reach on every side.
QRect Surface::linesArea(const std::vector<QPointF> &points, int width) const
{
    QRect area;
    for (const QPointF &point : points)
        area |= QRect(pixelAt(point), QSize(1, 1));
    const int reach = int(std::ceil(qMax(1, width) * qMax(1.0, m_scale))) + 2;
    return area.isNull() ? area : area.adjusted(-reach, -reach, reach, reach);
}

// Everything drawn so far, drawn again on a blank image for the current area, density and scale.
void Surface::redraw()
{
    m_image = blankImage(m_area, m_scale, m_devicePixelRatio);
    if (m_marks.empty())
        return;
    QPainter painter(&m_image);
    for (const Mark &mark : m_marks)
        paint(painter, mark);
}

void Surface::ensureSize(QSize logicalSize, qreal devicePixelRatio)
{
    if (devicePixelRatio == m_devicePixelRatio && m_area.width() >= logicalSize.width()
        && m_area.height() >= logicalSize.height())
        return;
    m_area = m_area.expandedTo(logicalSize);
    m_devicePixelRatio = devicePixelRatio;
    redraw();
}

void Surface::setScale(double scale)
{
    if (scale == m_scale || scale <= 0)
        return;
    m_scale = scale;
    redraw();
}
