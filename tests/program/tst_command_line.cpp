// The real program's command line, run without a display: what prints and exits, what is
// refused with a message on standard error, and a manual page that covers every option.
#include "support/run_program.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    // Rows: the arguments; the exit status, and whether something goes to standard output and
    // to standard error.
    void withoutDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("printed");
        QTest::addColumn<bool>("complained");
        QTest::newRow("--help") << QStringList{"--help"} << 0 << true << false;
        QTest::newRow("-h") << QStringList{"-h"} << 0 << true << false;
        QTest::newRow("--version") << QStringList{"--version"} << 0 << true << false;
        QTest::newRow("--help with a list") << QStringList{"--help", "names.txt"} << 0 << true << false;
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << false << true;
        QTest::newRow("unknown short option") << QStringList{"-x"} << 2 << false << true;
        QTest::newRow("two lists") << QStringList{"a.txt", "b.txt"} << 2 << false << true;
        QTest::newRow("--history-csv without a file") << QStringList{"--history-csv"} << 2 << false << true;
        QTest::newRow("--history-csv and a list") << QStringList{"--history-csv", "-", "a.txt"} << 2 << false << true;
        // The history (none yet: its heading alone) in both forms of the option.
        QTest::newRow("--history-csv -") << QStringList{"--history-csv", "-"} << 0 << true << false;
        QTest::newRow("--history-csv=-") << QStringList{"--history-csv=-"} << 0 << true << false;
        // One list is for the window, which needs a display.
        QTest::newRow("one list") << QStringList{"a.txt"} << 1 << false << true;
    }

    void withoutDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(bool, printed);
        QFETCH(bool, complained);
        QTemporaryDir folder;
        const Run run = runProgram(arguments, folder.path());
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(!run.out.isEmpty(), printed);
        QCOMPARE(!run.err.isEmpty(), complained);
        if (complained)
            QVERIFY2(run.err.startsWith("amidakuji: "), qPrintable(run.err));
    }

    // --history-csv=FILE writes FILE, as --history-csv FILE does.
    void historyCsvIntoAFile()
    {
        QTemporaryDir folder;
        for (const QStringList &arguments : {QStringList{"--history-csv=a.csv"}, QStringList{"--history-csv", "b.csv"}}) {
            const Run run = runProgram(arguments, folder.path());
            QCOMPARE(run.exitCode, 0);
            QVERIFY(QFile::exists(folder.filePath(arguments.size() == 1 ? "a.csv" : "b.csv")));
        }
        QCOMPARE(QFile(folder.filePath("a.csv")).size(), QFile(folder.filePath("b.csv")).size());
    }

    // The version is the one the help's program speaks of; the usage names the command.
    void versionAndUsage()
    {
        QTemporaryDir folder;
        const Run version = runProgram({"--version"}, folder.path());
        QVERIFY(QRegularExpression("^amidakuji \\d+\\.\\d+\\n$").match(version.out).hasMatch());
        const Run help = runProgram({"--help"}, folder.path());
        QVERIFY2(help.out.contains("amidakuji [options] [FILE]"), qPrintable(help.out));
    }

    // Every option the help lists, and every file the program writes, is in the manual page.
    void manualCoversEverything()
    {
        QFile page(AMIDAKUJI_MANUAL);
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString manual = QString::fromUtf8(page.readAll()).remove(QStringLiteral("\\"));
        QTemporaryDir folder;
        const Run help = runProgram({"--help"}, folder.path());
        const QRegularExpression option("(--[a-z][a-z-]+)");
        int options = 0;
        for (auto it = option.globalMatch(help.out); it.hasNext(); ++options) {
            const QString name = it.next().captured(1);
            QVERIFY2(manual.contains(name), qPrintable(name));
        }
        QVERIFY(options >= 3);
        for (const char *file : {"set_up.ini", "view.ini", "history.sqlite3"})
            QVERIFY2(manual.contains(QLatin1String(file)), file);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
