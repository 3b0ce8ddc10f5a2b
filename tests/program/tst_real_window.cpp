// Starts the real program, copied into a folder of its own, on an X server of the test's own
// (Xvfb), and looks at its window from outside: title and picture.
#include "support/x_session.h"

#include <QImage>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kTitle = QStringLiteral("◆Vornikel◆あみだくじ２");

} // namespace

class TestRealWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void windowAppearsWithTitleAndPicture();

private:
    // The folder outlives the program started in it.
    QTemporaryDir m_folder;
    XSession m_x;
};

void TestRealWindow::initTestCase()
{
    for (const QString &tool : XSession::missingTools({"Xvfb", "xdotool", "import"}))
        QFAIL(qPrintable(QStringLiteral("%1 is needed for this test (scripts/test installs it)").arg(tool)));
    QVERIFY(m_folder.isValid());
    QString error;
    QVERIFY2(m_x.startServer(&error), qPrintable(error));
}

void TestRealWindow::windowAppearsWithTitleAndPicture()
{
    QString error;
    QVERIFY2(m_x.startProgram(QStringLiteral(AMIDAKUJI_EXECUTABLE), m_folder.path(), &error), qPrintable(error));
    const QString window = m_x.waitForWindow(20000);
    QVERIFY2(!window.isEmpty(),
             qPrintable(QStringLiteral("no window appeared; the program said: %1").arg(m_x.programOutput())));

    const QString title = QString::fromUtf8(m_x.xdotool({QStringLiteral("getwindowname"), window}).trimmed());
    QCOMPARE(title, kTitle);

    // The first picture may come a moment after the window is mapped: wait for the ladder.
    const auto ladderDrawn = [](const QImage &picture) {
        return picture.width() > 470 && picture.height() > 96
            && picture.pixel(200, 72) == qRgb(0, 0, 0) && picture.pixel(200, 96) == qRgb(0, 0, 0);
    };
    const QImage picture = m_x.waitForPicture(window, 10000, ladderDrawn);
    QVERIFY2(!picture.isNull(), "no screenshot of the window");
    QCOMPARE(picture.width(), 639);
    QVERIFY2(ladderDrawn(picture), "the ladder lines are not black where they belong");

    QSet<QRgb> colours;
    bool red = false;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            colours.insert(pixel);
            red = red || (qRed(pixel) > 200 && qGreen(pixel) < 80 && qBlue(pixel) < 80);
        }
    }
    QVERIFY2(colours.size() >= 8, qPrintable(QStringLiteral("only %1 colours").arg(colours.size())));
    QVERIFY2(red, "the standby button is not red");
    QVERIFY(m_x.programRunning());
}

QTEST_GUILESS_MAIN(TestRealWindow)
#include "tst_real_window.moc"
