// The show's sounds: each cue as made (its length, below full scale, from silence to silence, the
// same every time, the fanfare's rising notes), how the cues sound over one another, and 音
// turning them off and being remembered.
#include "show_sound.h"
#include "sound_mixer.h"
#include "sound_switch.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>

Q_DECLARE_METATYPE(ShowSound)

namespace {

constexpr int kFullScale = 32767;

int peak(const std::vector<qint16> &samples)
{
    int highest = 0;
    for (qint16 s : samples)
        highest = std::max(highest, std::abs(int(s)));
    return highest;
}

// Where the sound grows suddenly louder: the windows (of a hundredth of a second) whose loudness
// is half as much again as the window's before, apart from the window right after such a rise.
std::vector<std::size_t> onsets(const std::vector<qint16> &samples)
{
    const std::size_t window = sound::kSampleRate / 100;
    std::vector<double> loudness;
    for (std::size_t at = 0; at + window <= samples.size(); at += window) {
        double sum = 0;
        for (std::size_t i = at; i < at + window; ++i)
            sum += double(samples[i]) * samples[i];
        loudness.push_back(std::sqrt(sum / window));
    }
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < loudness.size(); ++i) {
        const double before = i == 0 ? 0.0 : loudness[i - 1];
        const bool justAfter = !found.empty() && i - found.back() / window <= 1;
        if (loudness[i] > 1.5 * before && loudness[i] > kFullScale / 100.0 && !justAfter)
            found.push_back(i * window);
    }
    return found;
}

// How often the sound crosses zero in a tenth of a second from `from`: higher for a higher note.
int crossings(const std::vector<qint16> &samples, std::size_t from)
{
    int count = 0;
    const std::size_t end = std::min(samples.size(), from + sound::kSampleRate / 10);
    for (std::size_t i = from + 1; i < end; ++i)
        count += (samples[i - 1] < 0) != (samples[i] < 0);
    return count;
}

std::vector<qint16> readSamples(SoundMixer &mixer, qint64 count)
{
    std::vector<qint16> samples(std::size_t(count), 0);
    const qint64 read = mixer.read(reinterpret_cast<char *>(samples.data()), count * qint64(sizeof(qint16)));
    samples.resize(std::size_t(std::max<qint64>(read, 0)) / sizeof(qint16));
    return samples;
}

class RecordingSound : public SoundOutput
{
public:
    void play(ShowSound sound) override { played.push_back(sound); }
    std::vector<ShowSound> played;
};

} // namespace

class TestShowSound : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_folder.path());
        QFile::remove(QSettings(QSettings::IniFormat, QSettings::UserScope, "amidakuji", "view").fileName());
    }

    // A soft tick of a few hundredths of a second, a chime of about half a second, a fanfare of
    // about a second whose notes come one after another.
    void cues_data()
    {
        QTest::addColumn<ShowSound>("cue");
        QTest::addColumn<int>("shortestMs");
        QTest::addColumn<int>("longestMs");
        QTest::addColumn<bool>("notesInTurn");
        QTest::newRow("tick") << ShowSound::Tick << 20 << 40 << false;
        QTest::newRow("chime") << ShowSound::Chime << 300 << 800 << false;
        QTest::newRow("fanfare") << ShowSound::Fanfare << 800 << 1500 << true;
    }

    void cues()
    {
        QFETCH(ShowSound, cue);
        QFETCH(int, shortestMs);
        QFETCH(int, longestMs);
        QFETCH(bool, notesInTurn);
        const std::vector<qint16> samples = sound::cueSamples(cue);
        const qint64 lengthMs = qint64(samples.size()) * 1000 / sound::kSampleRate;
        QVERIFY2(lengthMs >= shortestMs && lengthMs <= longestMs, qPrintable(QString::number(lengthMs)));
        QVERIFY(peak(samples) > kFullScale / 20);
        QVERIFY(peak(samples) < kFullScale);
        // No click where it starts or ends.
        QVERIFY(std::abs(int(samples.front())) <= kFullScale / 100);
        QVERIFY(std::abs(int(samples.back())) <= kFullScale / 100);
        QVERIFY(sound::cueSamples(cue) == samples);
        const std::vector<std::size_t> rises = onsets(samples);
        QVERIFY(!rises.empty());
        QCOMPARE(rises.size() > 2, notesInTurn);
        // Each note higher than the one before.
        if (notesInTurn)
            QVERIFY(crossings(samples, rises.back()) > crossings(samples, rises.front()));
    }

    // A cue after another after `apart` samples: the same cue starts again, a different one sounds
    // over the first, which goes on to its end.
    void mixing_data()
    {
        QTest::addColumn<ShowSound>("first");
        QTest::addColumn<ShowSound>("second");
        QTest::addColumn<int>("apart");
        const auto tickLength = int(sound::cueSamples(ShowSound::Tick).size());
        const auto chimeLength = int(sound::cueSamples(ShowSound::Chime).size());
        QTest::newRow("tick, tick at once") << ShowSound::Tick << ShowSound::Tick << 0;
        QTest::newRow("tick, tick one sample before its end") << ShowSound::Tick << ShowSound::Tick << tickLength - 1;
        QTest::newRow("tick, tick at its end") << ShowSound::Tick << ShowSound::Tick << tickLength;
        QTest::newRow("chime, tick at once") << ShowSound::Chime << ShowSound::Tick << 0;
        QTest::newRow("chime, tick one sample before its end") << ShowSound::Chime << ShowSound::Tick << chimeLength - 1;
        QTest::newRow("chime, tick at its end") << ShowSound::Chime << ShowSound::Tick << chimeLength;
        QTest::newRow("tick, chime within the tick") << ShowSound::Tick << ShowSound::Chime << tickLength / 2;
        QTest::newRow("chime, fanfare") << ShowSound::Chime << ShowSound::Fanfare << chimeLength / 2;
        QTest::newRow("fanfare, fanfare") << ShowSound::Fanfare << ShowSound::Fanfare << chimeLength / 2;
    }

    void mixing()
    {
        QFETCH(ShowSound, first);
        QFETCH(ShowSound, second);
        QFETCH(int, apart);
        const std::vector<qint16> a = sound::cueSamples(first);
        const std::vector<qint16> b = sound::cueSamples(second);
        std::vector<int> expected(std::max(a.size(), apart + b.size()), 0);
        const std::size_t firstEnd = first == second ? std::min<std::size_t>(a.size(), apart) : a.size();
        for (std::size_t i = 0; i < firstEnd; ++i)
            expected[i] += a[i];
        for (std::size_t i = 0; i < b.size(); ++i)
            expected[apart + i] += b[i];

        SoundMixer mixer(1);
        mixer.play(first);
        std::vector<qint16> heard = readSamples(mixer, apart);
        mixer.play(second);
        const std::vector<qint16> rest = readSamples(mixer, qint64(expected.size()) - apart);
        heard.insert(heard.end(), rest.begin(), rest.end());
        QCOMPARE(heard.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            if (heard[i] != expected[i])
                QFAIL(qPrintable(QStringLiteral("sample %1: %2, not %3").arg(i).arg(heard[i]).arg(expected[i])));
        }
    }

    // Every cue at once never reaches full scale.
    void allCuesTogether()
    {
        SoundMixer mixer(1);
        std::size_t longest = 0;
        for (ShowSound cue : {ShowSound::Tick, ShowSound::Chime, ShowSound::Fanfare}) {
            mixer.play(cue);
            longest = std::max(longest, sound::cueSamples(cue).size());
        }
        const std::vector<qint16> heard = readSamples(mixer, qint64(longest));
        QCOMPARE(heard.size(), longest);
        QVERIFY(peak(heard) < kFullScale);
    }

    // After the last cue the mixer gives the silence it was made with, then nothing; a cue
    // brings the sound back.
    void silenceThenIdle_data()
    {
        QTest::addColumn<int>("silence");
        QTest::addColumn<int>("lessBy");
        QTest::addColumn<bool>("idle");
        QTest::newRow("one sample short") << 64 << 1 << false;
        QTest::newRow("all of it") << 64 << 0 << true;
        QTest::newRow("a single sample, given") << 1 << 0 << true;
    }

    void silenceThenIdle()
    {
        QFETCH(int, silence);
        QFETCH(int, lessBy);
        QFETCH(bool, idle);
        SoundMixer mixer(silence);
        QVERIFY(mixer.idle());
        QCOMPARE(readSamples(mixer, 1).size(), std::size_t(0));
        mixer.play(ShowSound::Tick);
        QVERIFY(!mixer.idle());
        const auto tick = qint64(sound::cueSamples(ShowSound::Tick).size());
        QCOMPARE(qint64(readSamples(mixer, tick).size()), tick);
        const std::vector<qint16> quiet = readSamples(mixer, silence - lessBy);
        QCOMPARE(peak(quiet), 0);
        QCOMPARE(mixer.idle(), idle);
        QCOMPARE(readSamples(mixer, 1).empty(), idle);
        mixer.play(ShowSound::Chime);
        QVERIFY(!mixer.idle());
        QVERIFY(peak(readSamples(mixer, tick)) > 0);
    }

    // 音: on unless the user turned it off; off, not one cue is played. Either way the choice is
    // there at the next start.
    void soundSwitch_data()
    {
        QTest::addColumn<QVariant>("remembered");
        QTest::addColumn<bool>("on");
        QTest::newRow("never chosen") << QVariant() << true;
        QTest::newRow("on") << QVariant(true) << true;
        QTest::newRow("off") << QVariant(false) << false;
    }

    void soundSwitch()
    {
        QFETCH(QVariant, remembered);
        QFETCH(bool, on);
        if (remembered.isValid())
            QSettings(QSettings::IniFormat, QSettings::UserScope, "amidakuji", "view").setValue("sound", remembered);
        auto output = std::make_unique<RecordingSound>();
        RecordingSound *heard = output.get();
        SoundSwitch sounds(std::move(output));
        QCOMPARE(sounds.isOn(), on);
        sounds.play(ShowSound::Tick);
        sounds.play(ShowSound::Fanfare);
        QCOMPARE(heard->played.size(), on ? std::size_t(2) : std::size_t(0));

        sounds.setOn(!on);
        sounds.play(ShowSound::Chime);
        QCOMPARE(heard->played.size(), on ? std::size_t(2) : std::size_t(1));
        QCOMPARE(SoundSwitch(nullptr).isOn(), !on);
        // Without an output, on or off, nothing plays and nothing fails.
        SoundSwitch(nullptr).play(ShowSound::Chime);
    }

private:
    QTemporaryDir m_folder;
};

QTEST_GUILESS_MAIN(TestShowSound)
#include "tst_show_sound.moc"
