// When set_up.ini cannot be saved, and text the file could not keep: a standby still leads to a
// usable reveal phase, a group change keeps everything typed, and what a box shows is what the
// file gets.
#include "support/file_size_limit.h"
#include "support/user_input.h"
#include "support/window.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

namespace {

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// What the user has put into the entry panel, and what shows it.
QStringList entryPanel(const Window &w)
{
    QStringList out{w.memo()->text(), w.label("lbl_1")->text(), w.label("lbl_atari")->text()};
    for (int i = 0; i < kBoxCount; ++i)
        out << QStringLiteral("%1 %2").arg(w.nameBox(i)->text()).arg(w.shown(w.nameBox(i)));
    return out;
}

// Lines 1..326 of a written file, without their CR LF.
QList<QByteArray> fileLines(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast();
    for (QByteArray &line : lines)
        line.chop(1);
    return lines;
}

enum class Failure { FolderIsAFile, FolderMissing, ReadOnlyFolder, DiskFull };

// Where set_up.ini is put, relative to the test's own folder, for each way of failing.
QString failingPath(Failure failure)
{
    switch (failure) {
    case Failure::FolderIsAFile:
        return QStringLiteral("plain/set_up.ini");
    case Failure::FolderMissing:
        return QStringLiteral("missing/set_up.ini");
    case Failure::ReadOnlyFolder:
        return QStringLiteral("locked/set_up.ini");
    case Failure::DiskFull:
        break;
    }
    return QStringLiteral("set_up.ini");
}

// Makes the file's folder unusable in the given way.
void prepareFailure(const QString &path, Failure failure)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (failure == Failure::FolderIsAFile)
        writeBytes(folder, "not a folder");
    if (failure == Failure::ReadOnlyFolder) {
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    }
}

// The superuser writes into a read-only folder anyway; so this test program runs the row again as
// the user nobody, when it may.
void runRowAsNobody(const QString &function, const QString &row)
{
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (geteuid() != 0 || setpriv.isEmpty())
        QSKIP("this user may write into a read-only folder, and cannot run the row as another user");
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.setWorkingDirectory(QDir::tempPath());
    child.start(setpriv, {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                          QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath(), function + u':' + row});
    QVERIFY(child.waitForStarted(10000));
    if (!child.waitForFinished(60000))
        child.kill();
    child.waitForFinished(5000);
    const QByteArray output = child.readAll();
    if (!output.contains("Start testing"))
        QSKIP(qPrintable(QStringLiteral("the user nobody cannot run this test program: %1")
                             .arg(QString::fromLocal8Bit(output.trimmed()))));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
    QVERIFY2(output.contains(QStringLiteral("PASS   : TestStandbyFaults::%1(%2)").arg(function, row).toUtf8()),
             output.constData());
}

// A started window showing the stored prize list, its shown rows filled in, and the box named
// `box` emptied for the text to come.
QLineEdit *emptiedBox(Window &w, const QString &box)
{
    w.start();
    w.button("cmd_change")->click();
    w.fillEntries();
    auto *edit = w.control<QLineEdit>(box);
    edit->clear();
    return edit;
}

} // namespace

Q_DECLARE_METATYPE(Failure)

class TestStandbyFaults : public QObject
{
    Q_OBJECT

private slots:
    void failedSaveLeavesARevealPhase_data();
    void failedSaveLeavesARevealPhase();
    void failedGroupChangeKeepsTheGroup_data();
    void failedGroupChangeKeepsTheGroup();
    void unencodableTextIsReplaced_data();
    void unencodableTextIsReplaced();
    void pastedLineBreaksStayOnOneLine_data();
    void pastedLineBreaksStayOnOneLine();
};

void TestStandbyFaults::failedSaveLeavesARevealPhase_data()
{
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<int>("mode");
    QTest::newRow("folder is a file") << Failure::FolderIsAFile << kWinnerMode;
    QTest::newRow("folder missing") << Failure::FolderMissing << kLotteryMode;
    QTest::newRow("read-only folder") << Failure::ReadOnlyFolder << kNumberMode;
    QTest::newRow("disk full") << Failure::DiskFull << kLotteryMode;
}

// The message names the file; the window still goes into the reveal phase, every name can be
// traced and the result printed; an old file stays as it was.
void TestStandbyFaults::failedSaveLeavesARevealPhase()
{
    QFETCH(Failure, failure);
    QFETCH(int, mode);
    Window w(3, 0, failingPath(failure));
    prepareFailure(w.path, failure);
    const QString folder = QFileInfo(w.path).absolutePath();
    if (failure == Failure::ReadOnlyFolder && access(QFile::encodeName(folder).constData(), W_OK) == 0) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        runRowAsNobody(QStringLiteral("failedSaveLeavesARevealPhase"), QStringLiteral("read-only folder"));
        return;
    }
    const QByteArray earlier = fileOf({"4", "2", "2", "2", "2", "2", "2", "", "0", "0", "0", "0"});
    if (failure == Failure::DiskFull)
        QVERIFY(w.writeFile(earlier));
    QVERIFY(w.prepare(mode, 4));
    w.memo()->setText(QStringLiteral("メモ"));
    const QStringList before = entries(folder);

    if (failure == Failure::DiskFull) {
        const FileSizeLimit full(100);
        QVERIFY(w.standby());
    } else {
        QVERIFY(w.standby());
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(w.messages().size(), 1);
    const QString message = w.messages().first();
    QVERIFY2(message.contains(QStringLiteral("保存できませんでした")), qPrintable(message));
    QVERIFY2(message.contains(QDir::toNativeSeparators(w.path)), qPrintable(message));
    QCOMPARE(entries(folder), before);
    if (failure == Failure::DiskFull)
        QCOMPARE(w.written(), earlier);

    QVERIFY(!w.button("cmd_up3")->isEnabled());
    for (int i = 0; i < 4; ++i) {
        QVERIFY(!w.button("cmd_print")->isEnabled());
        w.clickName(i);
    }
    for (int row = 0; row < 4; ++row)
        QVERIFY2(w.shown(w.prizeBox(row)), qPrintable(QString::number(row)));
    QVERIFY(w.button("cmd_print")->isEnabled());
    QCOMPARE(w.messages().size(), 1);
}

void TestStandbyFaults::failedGroupChangeKeepsTheGroup_data()
{
    QTest::addColumn<Failure>("failure");
    QTest::newRow("folder is a file") << Failure::FolderIsAFile;
    QTest::newRow("folder missing") << Failure::FolderMissing;
}

// Neither "＋" nor "－" leaves a group whose save failed: names (a hidden one too), memo and
// counts stay. Once the folder can be written, the same click saves all of it.
void TestStandbyFaults::failedGroupChangeKeepsTheGroup()
{
    QFETCH(Failure, failure);
    Window w(4, 0, failingPath(failure));
    prepareFailure(w.path, failure);
    QVERIFY(w.prepare(kWinnerMode, 5, 3));
    w.nameBox(4)->setText(QStringLiteral("後で隠れる"));
    QVERIFY(w.toCount(4));
    w.fillEntries();
    w.memo()->setText(QStringLiteral("忘年会"));
    const QStringList typed = entryPanel(w);
    const long long draws = w.ts.random->draws;

    w.button("cmd_up3")->click();
    w.button("cmd_dn3")->click();

    QCOMPARE(w.messages().size(), 2);
    QVERIFY(w.messages().last().contains(QDir::toNativeSeparators(w.path)));
    QCOMPARE(entryPanel(w), typed);
    QCOMPARE(w.ts.random->draws, draws);
    QVERIFY(!w.fileExists());

    const QString folder = QFileInfo(w.path).absolutePath();
    QFile::remove(folder);
    QVERIFY(QDir().mkpath(folder));
    w.button("cmd_up3")->click();
    // Group 2 of a first run: two participants without names.
    QCOMPARE(w.messages().size(), 2);
    QCOMPARE(w.participants(), 2);
    QCOMPARE(w.nameBox(0)->text(), QString());
    const QList<QByteArray> lines = fileLines(w.written());
    QCOMPARE(lines.size(), 326);
    QCOMPARE(lines[1 - 1], QByteArray("4"));
    QCOMPARE(lines[14 - 1], QByteArray("3"));
    QCOMPARE(lines[62 - 1], QByteArray("N0"));
    QCOMPARE(lines[66 - 1], QByteArray("\x8C\xE3\x82\xC5\x89\x42\x82\xEA\x82\xE9"));
    w.button("cmd_dn3")->click();
    QCOMPARE(entryPanel(w), typed);
}

// Rows: the box typed into, and the file line its text goes to (the prize through the shown
// stored list, before the shuffle).
void TestStandbyFaults::unencodableTextIsReplaced_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("fileLine");
    QTest::newRow("name box") << "man_0" << 62;
    QTest::newRow("prize box") << "ans_0" << 21;
    QTest::newRow("memo") << "txt_mem" << 61;
}

void TestStandbyFaults::unencodableTextIsReplaced()
{
    QFETCH(QString, box);
    QFETCH(int, fileLine);
    Window w;
    QLineEdit *edit = emptiedBox(w, box);

    typeText(edit, QStringLiteral("ab"));
    typeText(edit, QStringLiteral("😀"));
    commitFromInputMethod(edit, QStringLiteral("🎁"));
    pasteText(edit, QStringLiteral("x👍"));
    typeText(edit, QStringLiteral("c〜"));
    QCOMPARE(edit->text(), QStringLiteral("ab〓〓x〓c〜"));
    // One message for each edit that changed a character.
    QTRY_COMPARE(w.messages().size(), 3);
    w.ts.messenger->shown.clear();

    QVERIFY(w.standby());

    QCOMPARE(w.messages(), QStringList());
    const QByteArray written = w.written();
    QCOMPARE(fileLines(written).value(fileLine - 1), QByteArray("ab\x81\xAC\x81\xACx\x81\xAC" "c\x81\x60"));
    QVERIFY(!written.contains('?'));
}

// Rows: the box pasted into, what is pasted, the bytes of the one line the file gets.
void TestStandbyFaults::pastedLineBreaksStayOnOneLine_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<int>("fileLine");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("name, LF") << "man_0" << QStringLiteral("山田\n太郎") << 62
                              << QByteArray("\x8E\x52\x93\x63 \x91\xBE\x98\x59");
    QTest::newRow("second name, CR LF") << "man_1" << "a\r\nb\r\n" << 63 << QByteArray("a b");
    QTest::newRow("memo, CR") << "txt_mem" << "x\ry\rz" << 61 << QByteArray("x y z");
    QTest::newRow("prize, copied line") << "ans_0" << "P\r\n" << 21 << QByteArray("P");
}

void TestStandbyFaults::pastedLineBreaksStayOnOneLine()
{
    QFETCH(QString, box);
    QFETCH(QString, pasted);
    QFETCH(int, fileLine);
    QFETCH(QByteArray, bytes);
    Window w;
    QLineEdit *edit = emptiedBox(w, box);
    pasteText(edit, pasted);

    QVERIFY(w.standby());

    QCOMPARE(w.messages(), QStringList());
    const QByteArray written = w.written();
    QCOMPARE(written.count('\n'), 326);
    QCOMPARE(written.count('\r'), 326);
    QCOMPARE(written.count("\r\n"), 326);
    QCOMPARE(fileLines(written).value(fileLine - 1), bytes);
}

QTEST_MAIN(TestStandbyFaults)
#include "tst_standby_faults.moc"
