// The show's sounds: each cue as made, the mixer, 音, and the desktop's output without a device.
#include "show_sound.h"
#include "sound_mixer.h"
#include "sound_switch.h"
#include "system_sound.h"

#include <QMutex>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <utility>

Q_DECLARE_METATYPE(ShowSound)

namespace {

constexpr int kFullScale = 32767;
using Samples = std::vector<qint16>;

std::size_t loudestAt(const Samples &s)
{
    return std::max_element(s.begin(), s.end(), [](int a, int b) { return std::abs(a) < std::abs(b); }) - s.begin();
}

int peak(const Samples &s) { return s.empty() ? 0 : std::abs(int(s[loudestAt(s)])); }

Samples readSamples(SoundMixer &mixer, qint64 count)
{
    Samples samples(std::size_t(count), 0);
    const qint64 read = mixer.read(reinterpret_cast<char *>(samples.data()), count * qint64(sizeof(qint16)));
    samples.resize(std::size_t(std::max<qint64>(read, 0)) / sizeof(qint16));
    return samples;
}

struct RecordingSound : SoundOutput
{
    void play(ShowSound sound) override { played.push_back(sound); }
    std::vector<ShowSound> played;
};

QMutex heardLock;
QStringList heard; // "category: text" of every line but the debug lines of other categories

void hear(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const QMutexLocker lock(&heardLock);
    const QString category = QString::fromLatin1(context.category ? context.category : "default");
    if (type != QtDebugMsg || category == QLatin1String("amidakuji.sound"))
        heard << category + QLatin1String(": ") + text;
}

} // namespace

class TestShowSound : public QObject
{
    Q_OBJECT

private slots:
    // Each cue: its length, audible below full scale, from silence to silence, the same every time.
    void cues_data()
    {
        QTest::addColumn<ShowSound>("cue");
        QTest::addColumn<int>("shortestMs");
        QTest::addColumn<int>("longestMs");
        QTest::newRow("tick") << ShowSound::Tick << 20 << 40;
        QTest::newRow("chime") << ShowSound::Chime << 300 << 800;
        QTest::newRow("fanfare") << ShowSound::Fanfare << 800 << 1500;
    }

    void cues()
    {
        QFETCH(ShowSound, cue);
        QFETCH(int, shortestMs);
        QFETCH(int, longestMs);
        const Samples samples = sound::cueSamples(cue);
        const qint64 lengthMs = qint64(samples.size()) * 1000 / sound::kSampleRate;
        QVERIFY2(lengthMs >= shortestMs && lengthMs <= longestMs, qPrintable(QString::number(lengthMs)));
        QVERIFY(peak(samples) > kFullScale / 20 && peak(samples) < kFullScale);
        QVERIFY(std::abs(samples.front()) <= kFullScale / 100 && std::abs(samples.back()) <= kFullScale / 100);
        QVERIFY(sound::cueSamples(cue) == samples);
    }

    // The fanfare is no chime: its notes follow one another, so its loudest part comes later.
    void fanfareIsNotTheChime()
    {
        const Samples chime = sound::cueSamples(ShowSound::Chime), fanfare = sound::cueSamples(ShowSound::Fanfare);
        QVERIFY(fanfare != chime && loudestAt(fanfare) > loudestAt(chime));
    }

    // A second cue `apart` samples after the first: the same kind starts again, another sounds with it.
    void mixing_data()
    {
        QTest::addColumn<ShowSound>("first");
        QTest::addColumn<ShowSound>("second");
        QTest::addColumn<int>("apart");
        const auto tick = int(sound::cueSamples(ShowSound::Tick).size());
        const auto chime = int(sound::cueSamples(ShowSound::Chime).size());
        QTest::newRow("tick, tick one sample before its end") << ShowSound::Tick << ShowSound::Tick << tick - 1;
        QTest::newRow("tick, tick at its end") << ShowSound::Tick << ShowSound::Tick << tick;
        QTest::newRow("chime, tick at its last sample") << ShowSound::Chime << ShowSound::Tick << chime - 1;
        QTest::newRow("fanfare, chime at once") << ShowSound::Fanfare << ShowSound::Chime << 0;
    }

    void mixing()
    {
        QFETCH(ShowSound, first);
        QFETCH(ShowSound, second);
        QFETCH(int, apart);
        const Samples a = sound::cueSamples(first), b = sound::cueSamples(second);
        Samples expected(std::max(a.size(), apart + b.size()), 0);
        std::copy_n(a.begin(), first == second ? std::min<std::size_t>(a.size(), apart) : a.size(), expected.begin());
        for (std::size_t i = 0; i < b.size(); ++i)
            expected[apart + i] += b[i];
        SoundMixer mixer(1);
        mixer.play(first);
        Samples heard = readSamples(mixer, apart);
        mixer.play(second);
        for (qint16 s : readSamples(mixer, qint64(expected.size()) - apart))
            heard.push_back(s);
        QVERIFY(heard == expected);
    }

    // Every cue at once never reaches full scale.
    void allCuesTogether()
    {
        SoundMixer mixer(1);
        for (ShowSound cue : {ShowSound::Tick, ShowSound::Chime, ShowSound::Fanfare})
            mixer.play(cue);
        QVERIFY(peak(readSamples(mixer, 2 * sound::kSampleRate)) < kFullScale);
    }

    // After the last cue the mixer gives the silence it was made with, then nothing, until a cue.
    void silenceThenIdle()
    {
        const qint64 silence = 64;
        SoundMixer mixer(silence);
        QVERIFY(mixer.idle() && readSamples(mixer, 1).empty());
        mixer.play(ShowSound::Tick);
        const auto tick = qint64(sound::cueSamples(ShowSound::Tick).size());
        QCOMPARE(qint64(readSamples(mixer, tick).size()), tick);
        QCOMPARE(peak(readSamples(mixer, silence - 1)), 0);
        QVERIFY(!mixer.idle());
        QVERIFY(readSamples(mixer, 1) == Samples{0});
        QVERIFY(mixer.idle() && readSamples(mixer, 1).empty());
        mixer.play(ShowSound::Chime);
        QVERIFY(!mixer.idle() && peak(readSamples(mixer, tick)) > 0);
    }

    // 音: on until turned off, and remembered; off passes no cue on, on passes each.
    void soundSwitch()
    {
        QTemporaryDir folder;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
        auto output = std::make_unique<RecordingSound>();
        const std::vector<ShowSound> &played = output->played;
        SoundSwitch sounds(std::move(output));
        QVERIFY(sounds.isOn());
        sounds.play(ShowSound::Tick);
        sounds.setOn(false);
        sounds.play(ShowSound::Chime);
        QVERIFY(!SoundSwitch(nullptr).isOn());
        sounds.setOn(true);
        sounds.play(ShowSound::Fanfare);
        QCOMPARE(played, (std::vector<ShowSound>{ShowSound::Tick, ShowSound::Fanfare}));
        QVERIFY(SoundSwitch(nullptr).isOn());
        SoundSwitch(nullptr).play(ShowSound::Chime); // without an output: nothing, and no fault
    }

    // With no sound server: silent, and one line under amidakuji.sound once cues come, however many.
    void systemOutputWithoutDevice_data()
    {
        QTest::addColumn<QList<ShowSound>>("cues");
        QTest::addColumn<int>("lines");
        QTest::newRow("no cue") << QList<ShowSound>{} << 0;
        QTest::newRow("a path's cues") << QList<ShowSound>{ShowSound::Tick, ShowSound::Chime, ShowSound::Tick, ShowSound::Fanfare} << 1;
    }

    void systemOutputWithoutDevice()
    {
        QFETCH(QList<ShowSound>, cues);
        QFETCH(int, lines);
        qputenv("PULSE_SERVER", QByteArrayLiteral("unix:/nonexistent/amidakuji-test/native"));
        const QtMessageHandler before = qInstallMessageHandler(hear);
        {
            SystemSoundOutput output;
            for (ShowSound cue : cues)
                output.play(cue);
        } // ending the output plays out what was asked and stops its thread
        qInstallMessageHandler(before);
        const QStringList said = std::exchange(heard, {});
        QVERIFY2(said.size() == lines, qPrintable(said.join(QLatin1Char('\n'))));
        for (const QString &line : said)
            QVERIFY2(line.startsWith(QLatin1String("amidakuji.sound: ")), qPrintable(line));
    }
};

QTEST_GUILESS_MAIN(TestShowSound)
#include "tst_show_sound.moc"
