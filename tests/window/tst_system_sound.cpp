// The desktop's audio output where there is none (no sound server to reach): cues are asked for
// and return, nothing is said to the user, and the log has one line under amidakuji.sound however
// many cues come, and nothing else.
#include "system_sound.h"

#include <QMutex>
#include <QTest>

#include <utility>

Q_DECLARE_METATYPE(ShowSound)

namespace {

struct Heard
{
    QString category;
    QtMsgType type;
    QString text;
};

QMutex heardLock;
QList<Heard> heard;

void hear(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const QMutexLocker lock(&heardLock);
    heard.append({QString::fromLatin1(context.category ? context.category : "default"), type, text});
}

QList<Heard> takeHeard()
{
    const QMutexLocker lock(&heardLock);
    return std::exchange(heard, {});
}

} // namespace

class TestSystemSound : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A sound server that is not there.
        qputenv("PULSE_SERVER", QByteArrayLiteral("unix:/nonexistent/amidakuji-test/native"));
        qInstallMessageHandler(hear);
    }

    void cleanupTestCase() { qInstallMessageHandler(nullptr); }

    void silentWithoutDevice_data()
    {
        QTest::addColumn<QList<ShowSound>>("cues");
        QTest::addColumn<int>("lines");
        QTest::newRow("no cue: nothing looked for") << QList<ShowSound>{} << 0;
        QTest::newRow("one tick") << QList<ShowSound>{ShowSound::Tick} << 1;
        QTest::newRow("a path's cues")
            << QList<ShowSound>{ShowSound::Tick, ShowSound::Tick, ShowSound::Chime, ShowSound::Tick, ShowSound::Fanfare}
            << 1;
    }

    void silentWithoutDevice()
    {
        QFETCH(QList<ShowSound>, cues);
        QFETCH(int, lines);
        takeHeard();
        {
            SystemSoundOutput output;
            for (ShowSound cue : cues)
                output.play(cue);
            // Ending the output plays out what was asked.
        }
        const QList<Heard> said = takeHeard();
        QStringList unexpected;
        int inCategory = 0;
        for (const Heard &h : said) {
            if (h.category == QLatin1String("amidakuji.sound"))
                ++inCategory;
            else if (h.type != QtDebugMsg)
                unexpected << h.category + QLatin1String(": ") + h.text;
        }
        QCOMPARE(inCategory, lines);
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestSystemSound)
#include "tst_system_sound.moc"
