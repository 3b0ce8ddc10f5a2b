#pragma once
// The draw as a show: the running path drawn over the window's drawing, frame by frame, at the
// display's rate. Where the pen stands comes from the lottery (its tick source), so a slow frame
// never slows the path; each frame repaints only the piece of the path that is new. The path
// becomes part of the drawing when it arrives, drawn by the window as an instant trace draws it.

#include "lottery/lottery.h"

#include <QObject>
#include <QPoint>
#include <QPointF>

#include <functional>
#include <optional>
#include <vector>

class QPainter;
class QTimer;
class QWidget;
class SoundOutput;
class Surface;

class PathShow : public QObject
{
    Q_OBJECT

public:
    // What the window does when a path arrives: it draws the whole path, writes the prize and
    // records the result.
    using Arrived = std::function<void(const TraceStep &step)>;
    // `offset`: where the surface's image stands on the window. `sound` may be none (silent).
    PathShow(QWidget *window, Lottery &lottery, const Surface &surface, std::function<QPoint()> offset,
             SoundOutput *sound, Arrived arrived);

    // Shows a path the lottery has just started running.
    void start(const TraceStep &step);
    bool running() const { return m_step.has_value(); }
    // Ends the running path at once, drawn whole with its prize written; nothing when none runs.
    void finish();
    // The running part of the path over the surface's image.
    void paint(QPainter &painter) const;

private:
    void frame();
    void arrive();
    void repaint(const std::vector<QPointF> &points);

    QWidget *m_window;
    Lottery &m_lottery;
    const Surface &m_surface;
    std::function<QPoint()> m_offset;
    SoundOutput *m_sound;
    Arrived m_arrived;
    QTimer *m_timer = nullptr;
    std::optional<TraceStep> m_step;
    // The part drawn at the last frame, in twips.
    std::vector<QPointF> m_drawn;
};
