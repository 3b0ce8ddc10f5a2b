#include "system_sound.h"
#include "show_sound.h"
#include "sound_mixer.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QLoggingCategory>
#include <QMediaDevices>
#include <QStringList>
#include <QTimer>

Q_LOGGING_CATEGORY(lcSound, "amidakuji.sound")

namespace {

// The output keeps open this long after the last cue: between the ticks of a running path.
constexpr qint64 kSilenceBeforeIdle = sound::kSampleRate;
// About 100 ms asked for (the server may give less): a tick sounds soon after the path crosses
// its rung; the buffer is topped up far more often than it takes to run dry.
constexpr qsizetype kBufferBytes = sound::kSampleRate / 10 * qsizetype(sizeof(qint16));
constexpr int kFeedMs = 10;

// What Qt says on the sound thread while it looks for an output (a sound server that cannot be
// reached) is kept for the one line the program logs, not printed on its own.
QThread *lookingThread = nullptr;
QStringList *heardWhileLooking = nullptr;
QtMessageHandler previousHandler = nullptr;

void keepWhileLooking(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (QThread::currentThread() == lookingThread && heardWhileLooking)
        heardWhileLooking->append(message);
    else if (previousHandler)
        previousHandler(type, context, message);
}

QAudioDevice defaultOutput(QStringList &heard)
{
    lookingThread = QThread::currentThread();
    heardWhileLooking = &heard;
    previousHandler = qInstallMessageHandler(keepWhileLooking);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    qInstallMessageHandler(previousHandler);
    heardWhileLooking = nullptr;
    lookingThread = nullptr;
    return device;
}

} // namespace

// Lives on the sound thread: the sink, the mixer and the timer that keeps the sink's buffer full
// from the mixer. Qt's pull mode feeds the sink a fixed chunk at a time and, with a buffer this
// short, can stall once the free space is less than a chunk; writing whatever is free does not.
class SoundPlayer : public QObject
{
public:
    void play(ShowSound cue)
    {
        if (!m_sink && !open())
            return;
        m_mixer->play(cue);
        if (m_output)
            return;
        m_output = m_sink->start();
        if (!m_output) {
            failed();
            return;
        }
        feed();
        m_feed.start();
    }

    void stop()
    {
        m_feed.stop();
        m_output = nullptr;
        if (m_sink)
            m_sink->stop();
    }

private:
    // Fills what the sink has free; once the mixer has nothing more to give, the sink stops
    // until the next cue.
    void feed()
    {
        if (m_mixer->idle()) {
            stop();
            return;
        }
        const qint64 read = m_mixer->read(m_chunk.data(), qMin<qint64>(m_sink->bytesFree(), m_chunk.size()));
        if (read > 0)
            m_output->write(m_chunk.data(), read);
    }

    // False, once and for all, when there is nothing to play on.
    bool open()
    {
        if (m_silent)
            return false;
        QStringList heard;
        const QAudioDevice device = defaultOutput(heard);
        QAudioFormat format;
        format.setSampleRate(sound::kSampleRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        if (device.isNull() || !device.isFormatSupported(format)) {
            m_silent = true;
            QString line = device.isNull() ? QStringLiteral("no audio output device")
                                           : QStringLiteral("the audio output %1 takes no 16-bit mono").arg(device.description());
            line += QStringLiteral("; the show is silent");
            if (!heard.isEmpty())
                line += QStringLiteral(" (%1)").arg(heard.join(QStringLiteral("; ")));
            qCInfo(lcSound).noquote() << line;
            return false;
        }
        m_mixer = new SoundMixer(kSilenceBeforeIdle, this);
        m_sink = new QAudioSink(device, format, this);
        m_sink->setBufferSize(kBufferBytes);
        m_chunk.resize(kBufferBytes);
        m_feed.setInterval(kFeedMs);
        m_feed.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_feed, &QTimer::timeout, this, [this] { feed(); });
        QObject::connect(m_sink, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
            if (state == QAudio::StoppedState && m_sink->error() != QAudio::NoError
                && m_sink->error() != QAudio::UnderrunError)
                failed();
        });
        return true;
    }

    // An output that failed is said once, not at every cue; the next cue tries again.
    void failed()
    {
        if (!m_failed)
            qCWarning(lcSound) << "the audio output failed:" << m_sink->error();
        m_failed = true;
        stop();
    }

    SoundMixer *m_mixer = nullptr;
    QAudioSink *m_sink = nullptr;
    // Where the sink takes what is written, while it plays.
    QIODevice *m_output = nullptr;
    QTimer m_feed{this};
    QByteArray m_chunk;
    bool m_silent = false;
    bool m_failed = false;
};

SystemSoundOutput::SystemSoundOutput()
{
    m_thread.setObjectName(QStringLiteral("sound"));
}

SystemSoundOutput::~SystemSoundOutput()
{
    if (!m_player)
        return;
    SoundPlayer *player = m_player;
    QMetaObject::invokeMethod(player, [player] {
        player->stop();
        delete player;
    }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void SystemSoundOutput::play(ShowSound sound)
{
    if (!m_player) {
        m_player = new SoundPlayer;
        m_player->moveToThread(&m_thread);
        m_thread.start();
    }
    SoundPlayer *player = m_player;
    QMetaObject::invokeMethod(player, [player, sound] { player->play(sound); }, Qt::QueuedConnection);
}
