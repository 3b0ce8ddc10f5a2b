#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>

#include <cstdint>

// The window's drawing: a persistent image addressed in twips, with a pen position,
// pen colour, pen width (pixels) and font, as the handlers that draw the ladder,
// the paths and the time stamp expect.
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

    // Grows the image (keeping what is drawn) or changes its pixel density.
    void ensureSize(QSize logicalSize, qreal devicePixelRatio);

    const QImage &image() const { return m_image; }

private:
    QImage m_image;
    QPointF m_pen;
    QColor m_color = Qt::black;
    int m_width = 1;
    QFont m_font;
    // Whether anything was drawn since the image was last blank.
    bool m_drawn = false;
};

// The program's font: "ＭＳ Ｐゴシック" where it exists, else a Japanese face that does.
QFont programFont(double pointSize, bool bold = false);
