#include "system_sound.h"
#include "show_sound.h"
#include "sound_mixer.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QLoggingCategory>
#include <QMediaDevices>
#include <QStringList>

Q_LOGGING_CATEGORY(lcSound, "amidakuji.sound")

namespace {

// The output keeps open this long after the last cue: between the ticks of a running path.
constexpr qint64 kSilenceBeforeIdle = sound::kSampleRate;
// About 50 ms buffered: a tick sounds soon after the path crosses its rung.
constexpr qsizetype kBufferBytes = sound::kSampleRate / 20 * qsizetype(sizeof(qint16));

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

// Lives on the sound thread: the sink, and the mixer it pulls from. Made at the first cue.
class SoundPlayer : public QObject
{
public:
    void play(ShowSound cue)
    {
        if (!m_sink && !open())
            return;
        m_mixer->play(cue);
        if (m_sink->state() != QAudio::ActiveState)
            m_sink->start(m_mixer);
    }

    void stop()
    {
        if (m_sink)
            m_sink->stop();
    }

private:
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
        QObject::connect(m_sink, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
            if (state == QAudio::IdleState && m_mixer->idle())
                m_sink->stop();
            else if (state == QAudio::StoppedState && m_sink->error() != QAudio::NoError
                     && m_sink->error() != QAudio::UnderrunError && !m_failed) {
                m_failed = true;
                qCWarning(lcSound) << "the audio output" << m_sink->error() << "on" << m_sink->format();
            }
        });
        return true;
    }

    SoundMixer *m_mixer = nullptr;
    QAudioSink *m_sink = nullptr;
    bool m_silent = false;
    // An output that failed is said once, not at every cue.
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
