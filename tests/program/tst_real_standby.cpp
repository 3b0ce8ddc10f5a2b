// A whole lottery in the real program on an X server of the test's own: names and prizes typed
// into the boxes, "準備完了" pressed, every name clicked, then the window and set_up.ini looked at
// from outside. A first run opens in lottery mode, so the prizes are typed too; the names are
// ASCII because xdotool cannot type Japanese without an input method.
#include "support/file_bytes.h"
#include "support/x_session.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QRect>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kParticipants = 3;

// Controls by their place in twips, as the window lays them out.
QRect nameBox(int row) { return QRect(120, 960 + 360 * row, 1215, 270); }
QRect prizeBox(int row) { return QRect(7080, 960 + 360 * row, 2415, 270); }
const QRect kParticipantsUp(4560, 240, 375, 255);
const QRect kStandby(6480, 240, 975, 375);
const QRect kPrint(8640, 240, 855, 375);

QRect inPixels(const QRect &twips)
{
    return QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
}

// Pixels of text (near black) inside a control, its frame left out.
int textPixels(const QImage &picture, const QRect &twips)
{
    const QRect area = inPixels(twips).adjusted(3, 3, -3, -3).intersected(picture.rect());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            count += qRed(pixel) < 110 && qGreen(pixel) < 110 && qBlue(pixel) < 110;
        }
    }
    return count;
}

bool everyPrizeShown(const QImage &picture)
{
    for (int row = 0; row < kParticipants; ++row) {
        if (textPixels(picture, prizeBox(row)) < 20)
            return false;
    }
    return true;
}

// What a first run followed by this standby writes: lottery mode, group 1, window at 0, 0.
QByteArray expectedFile()
{
    QList<QByteArray> lines(326);
    for (int g = 1; g <= 7; ++g) {
        lines[g - 1] = "2";
        lines[13 + g - 1] = "1";
    }
    lines[0] = QByteArray::number(kParticipants);
    lines[9 - 1] = "0";
    lines[10 - 1] = "0";
    lines[11 - 1] = "0";
    lines[12 - 1] = "0";
    lines[13 - 1] = "1";
    for (int i = 0; i < kParticipants; ++i)
        lines[62 + i - 1] = "Name" + QByteArray::number(i);
    return fileOf(lines);
}

} // namespace

class TestRealStandby : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void wholeLottery_data();
    void wholeLottery();

private:
    void click(const QRect &twips);
    void typeInto(const QRect &twips, const QString &text);

    XSession m_x;
    QString m_window;
};

void TestRealStandby::initTestCase()
{
    const QStringList missing = XSession::missingTools({"Xvfb", "xdotool", "import"});
    if (!missing.isEmpty())
        QSKIP(qPrintable(QStringLiteral("not installed: %1 (scripts/test installs them)").arg(missing.join(u' '))));
    QString error;
    QVERIFY2(m_x.startServer(&error), qPrintable(error));
}

// A click in the middle of a control, relative to the window.
void TestRealStandby::click(const QRect &twips)
{
    const QPoint centre = inPixels(twips).center();
    m_x.xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), m_window, QString::number(centre.x()),
                 QString::number(centre.y()), QStringLiteral("click"), QStringLiteral("1")});
}

void TestRealStandby::typeInto(const QRect &twips, const QString &text)
{
    click(twips);
    m_x.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
}

// Rows: whether the program's folder can be written. When it cannot, set_up.ini goes into the
// user's configuration folder, which only the first save makes: start-up writes nothing.
void TestRealStandby::wholeLottery_data()
{
    QTest::addColumn<bool>("programFolderWritable");
    QTest::newRow("portable copy") << true;
    QTest::newRow("read-only program folder") << false;
}

void TestRealStandby::wholeLottery()
{
    QFETCH(bool, programFolderWritable);
    QTemporaryDir folder;
    QTemporaryDir config;
    QVERIFY(folder.isValid() && config.isValid());
    const QString program = folder.filePath(QStringLiteral("amidakuji"));
    QVERIFY(QFile::copy(QStringLiteral(AMIDAKUJI_EXECUTABLE), program));
    QVERIFY(QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner));
    const QFile::Permissions folderPermissions = QFile::permissions(folder.path());
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::ExeOther;
    if (!programFolderWritable)
        QVERIFY(QFile::setPermissions(folder.path(), readOnly));
    // The folder outlives the program started in it, and is writable again to be removed.
    const auto cleanUp = qScopeGuard([&] {
        m_x.killProgram();
        QFile::setPermissions(folder.path(), folderPermissions);
    });
    const QString userFolder = config.filePath(QStringLiteral("amidakuji"));
    const QString path = programFolderWritable ? folder.filePath(QStringLiteral("set_up.ini"))
                                               : userFolder + QStringLiteral("/set_up.ini");

    QString error;
    QVERIFY2(m_x.launchProgram(folder.path(), {{QStringLiteral("XDG_CONFIG_HOME"), config.path()}}, &error),
             qPrintable(error));
    m_window = m_x.waitForWindow(20000);
    QVERIFY2(!m_window.isEmpty(),
             qPrintable(QStringLiteral("no window appeared; the program said: %1").arg(m_x.programOutput())));
    m_x.xdotool({QStringLiteral("windowfocus"), m_window});
    const QImage first = m_x.waitForPicture(m_window, 10000, [](const QImage &picture) {
        return picture.height() > 96 && picture.pixel(200, 96) == qRgb(0, 0, 0);
    });
    QVERIFY2(first.height() > 96, "the window never showed its ladder");
    QVERIFY(!QFileInfo::exists(userFolder));
    QVERIFY(!QFileInfo::exists(path));

    // One more participant: the window grows by a row.
    click(kParticipantsUp);
    const QImage grown = m_x.waitForPicture(m_window, 10000, [&first](const QImage &picture) {
        return picture.height() > first.height();
    });
    QVERIFY2(grown.height() > first.height(), "the participant count did not go up");
    QCOMPARE(textPixels(grown, kPrint), 0);

    for (int row = 0; row < kParticipants; ++row) {
        typeInto(nameBox(row), QStringLiteral("Name%1").arg(row));
        typeInto(prizeBox(row), QStringLiteral("Prize%1").arg(row));
    }
    click(kStandby);

    QDeadlineTimer deadline(10000);
    while (fileBytes(path).count('\n') < 326 && !deadline.hasExpired())
        QThread::msleep(100);
    const QByteArray written = fileBytes(path);
    QCOMPARE(written.count("\r\n"), 326);
    QCOMPARE(written, expectedFile());
    QCOMPARE(QFileInfo::exists(userFolder), !programFolderWritable);
    QVERIFY(programFolderWritable || !QFileInfo::exists(folder.filePath(QStringLiteral("set_up.ini"))));

    // The prize boxes are hidden now; each name clicked shows the box its path reaches.
    const auto noPrizeShown = [](const QImage &picture) {
        for (int row = 0; row < kParticipants; ++row) {
            if (textPixels(picture, prizeBox(row)) != 0)
                return false;
        }
        return !picture.isNull();
    };
    QVERIFY2(noPrizeShown(m_x.waitForPicture(m_window, 10000, noPrizeShown)), "the prize boxes were not hidden");
    for (int row = 0; row < kParticipants; ++row)
        click(nameBox(row));
    const QImage traced = m_x.waitForPicture(m_window, 10000, everyPrizeShown);
    QVERIFY2(everyPrizeShown(traced), "not every prize box shows a result");
    QVERIFY2(textPixels(traced, kPrint) > 20, "the print button did not become usable");
    QVERIFY(m_x.programRunning());
}

QTEST_GUILESS_MAIN(TestRealStandby)
#include "tst_real_standby.moc"
