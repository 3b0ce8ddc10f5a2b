// Starts the real program, copied into a folder of its own, on an X server of the test's own
// (Xvfb), and looks at its window from outside: title and picture.
#include <QDeadlineTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <memory>
#include <sys/prctl.h>

namespace {

const QString kTitle = QStringLiteral("◆Vornikel◆あみだくじ２");

// Children die with the test, even when the test itself is killed.
std::unique_ptr<QProcess> childProcess()
{
    auto process = std::make_unique<QProcess>();
    process->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    return process;
}

void stop(std::unique_ptr<QProcess> &process)
{
    if (!process)
        return;
    if (process->state() != QProcess::NotRunning) {
        process->terminate();
        if (!process->waitForFinished(3000)) {
            process->kill();
            process->waitForFinished(3000);
        }
    }
    process.reset();
}

} // namespace

class TestRealWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void windowAppearsWithTitleAndPicture();
    void cleanupTestCase();

private:
    // Runs an X client tool on the test's display and returns what it printed.
    QByteArray runTool(const QString &program, const QStringList &arguments, int *exitCode = nullptr);
    QString findWindow();

    std::unique_ptr<QProcess> m_xvfb;
    std::unique_ptr<QProcess> m_program;
    QTemporaryDir m_folder;
    QString m_display;
};

void TestRealWindow::initTestCase()
{
    for (const char *tool : {"Xvfb", "xdotool", "import"})
        QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(),
                 qPrintable(QStringLiteral("%1 is needed for this test (scripts/test installs it)").arg(tool)));
    QVERIFY(m_folder.isValid());

    // -displayfd picks a free display number and writes it to our pipe once the server listens.
    m_xvfb = childProcess();
    m_xvfb->setProcessChannelMode(QProcess::SeparateChannels);
    m_xvfb->setStandardErrorFile(QProcess::nullDevice());
    m_xvfb->start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                           QStringLiteral("-screen"), QStringLiteral("0"),
                                           QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                           QStringLiteral("tcp")});
    QVERIFY2(m_xvfb->waitForStarted(5000), "Xvfb did not start");
    QDeadlineTimer deadline(15000);
    QByteArray output;
    while (!output.contains('\n') && !deadline.hasExpired() && m_xvfb->state() == QProcess::Running) {
        m_xvfb->waitForReadyRead(200);
        output += m_xvfb->readAllStandardOutput();
    }
    bool ok = false;
    const int number = output.trimmed().toInt(&ok);
    QVERIFY2(ok, qPrintable(QStringLiteral("Xvfb gave no display number: '%1'").arg(QString::fromLatin1(output))));
    m_display = QStringLiteral(":%1").arg(number);
}

QByteArray TestRealWindow::runTool(const QString &program, const QStringList &arguments, int *exitCode)
{
    auto tool = childProcess();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    tool->setProcessEnvironment(environment);
    tool->start(program, arguments);
    if (!tool->waitForFinished(10000))
        tool->kill();
    tool->waitForFinished(1000);
    if (exitCode)
        *exitCode = tool->exitStatus() == QProcess::NormalExit ? tool->exitCode() : -1;
    return tool->readAllStandardOutput();
}

QString TestRealWindow::findWindow()
{
    int exitCode = 0;
    const QByteArray found = runTool(QStringLiteral("xdotool"),
                                     {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                      QStringLiteral("--name"), QStringLiteral("Vornikel")},
                                     &exitCode);
    const QList<QByteArray> ids = found.trimmed().split('\n');
    return exitCode == 0 && !ids.first().isEmpty() ? QString::fromLatin1(ids.first()) : QString();
}

void TestRealWindow::windowAppearsWithTitleAndPicture()
{
    const QString copy = m_folder.filePath(QStringLiteral("amidakuji"));
    QVERIFY(QFile::copy(QStringLiteral(AMIDAKUJI_EXECUTABLE), copy));
    QVERIFY(QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ExeOwner));

    m_program = childProcess();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    m_program->setProcessEnvironment(environment);
    m_program->setWorkingDirectory(m_folder.path());
    m_program->setProcessChannelMode(QProcess::MergedChannels);
    m_program->start(copy, {});
    QVERIFY2(m_program->waitForStarted(5000), qPrintable(m_program->errorString()));

    QString window;
    QDeadlineTimer deadline(20000);
    while (window.isEmpty() && !deadline.hasExpired() && m_program->state() == QProcess::Running) {
        window = findWindow();
        if (window.isEmpty())
            QThread::msleep(100);
    }
    QVERIFY2(!window.isEmpty(),
             qPrintable(QStringLiteral("no window appeared; the program said: %1")
                            .arg(QString::fromLocal8Bit(m_program->readAll()))));

    const QString title = QString::fromUtf8(
        runTool(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window}).trimmed());
    QCOMPARE(title, kTitle);

    // The first picture may come a moment after the window is mapped: wait for the ladder.
    QImage picture;
    const auto ladderDrawn = [&picture] {
        return picture.width() > 470 && picture.height() > 96
            && picture.pixel(200, 72) == qRgb(0, 0, 0) && picture.pixel(200, 96) == qRgb(0, 0, 0);
    };
    deadline = QDeadlineTimer(10000);
    do {
        picture = QImage::fromData(runTool(QStringLiteral("import"),
                                           {QStringLiteral("-window"), window, QStringLiteral("png:-")}),
                                   "PNG");
        if (!ladderDrawn())
            QThread::msleep(100);
    } while (!ladderDrawn() && !deadline.hasExpired());
    QVERIFY2(!picture.isNull(), "no screenshot of the window");
    QCOMPARE(picture.width(), 639);
    QVERIFY2(ladderDrawn(), "the ladder lines are not black where they belong");

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
    QCOMPARE(m_program->state(), QProcess::Running);
}

void TestRealWindow::cleanupTestCase()
{
    stop(m_program);
    stop(m_xvfb);
}

QTEST_GUILESS_MAIN(TestRealWindow)
#include "tst_real_window.moc"
