#include "path_show.h"
#include "window_seams.h"
#include "ladder/surface.h"

#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

// About one frame of a display refreshed 60 times a second.
constexpr int kFrameInterval = 16;

} // namespace

PathShow::PathShow(QWidget *window, Lottery &lottery, const Surface &surface, std::function<QPoint()> offset,
                   SoundOutput *sound, Arrived arrived)
    : QObject(window)
    , m_window(window)
    , m_lottery(lottery)
    , m_surface(surface)
    , m_offset(std::move(offset))
    , m_sound(sound)
    , m_arrived(std::move(arrived))
    , m_timer(new QTimer(this))
{
    m_timer->setObjectName(QStringLiteral("tmr_show"));
    m_timer->setInterval(kFrameInterval);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &PathShow::frame);
}

void PathShow::start(const TraceStep &step)
{
    m_step = step;
    m_drawn.clear();
    m_timer->start();
    frame();
}

// The piece drawn since the last frame is repainted, with the corner it went on from; each rung
// the pen went along since then ticks once.
void PathShow::frame()
{
    const std::optional<RunningFrame> now = m_lottery.runningFrame();
    if (!now || !m_step) {
        m_timer->stop();
        return;
    }
    const size_t from = m_drawn.empty() ? 0 : m_drawn.size() - 1;
    std::vector<QPointF> changed;
    if (!m_drawn.empty())
        changed.push_back(m_drawn.back());
    changed.insert(changed.end(), now->drawn.begin() + qMin(from, now->drawn.size()), now->drawn.end());
    m_drawn = now->drawn;
    repaint(changed);
    for (int rung = 0; rung < now->rungsCrossed && m_sound; ++rung)
        m_sound->play(ShowSound::Tick);
    if (now->arrived)
        arrive();
}

void PathShow::finish()
{
    if (running())
        arrive();
}

// The lottery writes the result; the window then draws the path whole, where the running part
// stood.
void PathShow::arrive()
{
    m_timer->stop();
    const std::optional<TraceStep> step = m_lottery.arrive();
    m_step.reset();
    repaint(m_drawn);
    m_drawn.clear();
    if (!step)
        return;
    if (m_sound)
        m_sound->play(step->win ? ShowSound::Fanfare : ShowSound::Chime);
    m_arrived(*step);
}

void PathShow::paint(QPainter &painter) const
{
    if (!m_step || m_drawn.size() < 2)
        return;
    painter.save();
    painter.translate(m_offset());
    m_surface.paintLines(painter, m_drawn, m_step->color, m_step->penWidth);
    painter.restore();
}

void PathShow::repaint(const std::vector<QPointF> &points)
{
    const int width = m_step ? m_step->penWidth : 0;
    const QRect area = m_surface.linesArea(points, qMax(width, 5));
    if (!area.isNull())
        m_window->update(area.translated(m_offset()));
}
