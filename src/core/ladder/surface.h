#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>

#include <cstdint>
#include <vector>

class QPainter;

// The window's drawing: a persistent image addressed in twips, with a pen position,
// pen colour, pen width (pixels) and font, as the handlers that draw the ladder,
// the paths and the time stamp expect. What is drawn is also kept as a list of marks, so that
// the image can be drawn anew, sharp, at another scale.
class Surface
{
public:
    explicit Surface(QSize logicalSize = QSize(640, 1000), qreal devicePixelRatio = 1.0);

    void clear();
    void setForeColor(uint32_t bgr);
    void setDrawWidth(int pixels);
    void line(double x1, double y1, double x2, double y2);
    void lineTo(double x2, double y2);
    double currentX() const { return m_pen.x(); }
    double currentY() const { return m_pen.y(); }
    void setCurrentX(double x) { m_pen.setX(x); }
    void setCurrentY(double y) { m_pen.setY(y); }
    void setFont(const QFont &font) { m_font = font; }
    // Writes one line of text at the pen position; the pen moves to the start of the next line.
    void drawText(const QString &text);

    // Grows the drawing area (in pixels at 100 %) or changes its pixel density, keeping what is drawn.
    void ensureSize(QSize logicalSize, qreal devicePixelRatio);
    // Draws everything at the given scale from now on: 1.0 is the window's own size. Lines and
    // text are drawn anew at that size, pen widths and fonts grown with it.
    void setScale(double scale);

    // The drawing at the current scale; its device-independent size is the area times the scale.
    const QImage &image() const { return m_image; }

    // Lines through points in twips, painted as this surface paints its own lines but onto a
    // painter whose origin is the image's: a path still running, drawn over the image until it
    // becomes part of it. And the device-independent pixels those lines may touch.
    void paintLines(QPainter &painter, const std::vector<QPointF> &points, uint32_t bgr, int width) const;
    QRect linesArea(const std::vector<QPointF> &points, int width) const;

private:
    // One line or one line of text, in twips, with the pen it was drawn with.
    struct Mark
    {
        QPointF from;
        QPointF to;
        QColor color;
        int width = 1;
        QString text; // empty for a line
        QFont font;
    };
    void paint(QPainter &painter, const Mark &mark) const;
    QPoint pixelAt(QPointF twips) const;
    void draw(Mark mark);
    void redraw();

    QImage m_image;
    QSize m_area;
    qreal m_devicePixelRatio = 1.0;
    double m_scale = 1.0;
    std::vector<Mark> m_marks;
    QPointF m_pen;
    QColor m_color = Qt::black;
    int m_width = 1;
    QFont m_font;
};

// The program's font: "ＭＳ Ｐゴシック" where it exists, else a Japanese face that does.
QFont programFont(double pointSize, bool bold = false);
