// Writing set_up.ini: byte-exact, whole, atomic, and a failure that names the file.
#include "support/file_bytes.h"
#include "settings/layout.h"
#include "settings/numbers.h"
#include "settings/settings_file.h"
#include "support/file_size_limit.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace settings;

namespace {

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestSettingsWrite : public QObject
{
    Q_OBJECT

private slots:
    void byteExactFile();
    void emptyLinesKeepTheCount();
    void lineBreaksCannotShiftLines();
    void writtenLinesReadBack();
    void replacesALargerFileWhole();
    void failures_data();
    void failures();
    void unwritableFolder();
    void fullDiskLeavesTheOldFile_data();
    void fullDiskLeavesTheOldFile();
    void messageNamesTheFile();
    void pathIsBesideTheProgram();
};

// A file as standby leaves it in group 7, winner mode: names, memo, counts, position, mode.
void TestSettingsWrite::byteExactFile()
{
    SetupLines lines;
    lines[0] = QStringLiteral("never written");
    lines[327] = QStringLiteral("never written");
    for (int g = 1; g <= kGroupCount; ++g) {
        lines[participantCountLine(g)] = formatCount(2);
        lines[winnerCountLine(g)] = formatCount(1);
    }
    lines[participantCountLine(7)] = formatCount(4);
    lines[kWindowLeftLine] = formatPosition(1230.0f);
    lines[kWindowTopLine] = formatPosition(0.0f);
    lines[kGroupLine] = formatCount(7 - 1);
    lines[kModeLine] = formatCount(0 - 1);
    lines[storedPrizeLine(0)] = QStringLiteral("一等");
    lines[memoLine(7)] = QStringLiteral("賞品");
    lines[nameLine(7, 0)] = QStringLiteral("山田\u301C太郎");
    lines[nameLine(7, 1)] = QStringLiteral("花子");
    lines[nameLine(7, 3)] = QStringLiteral("Taro");
    lines[nameLine(7, 36)] = QStringLiteral("ｱｲ");

    QList<QByteArray> expected(kLineCount);
    for (int g = 1; g <= 7; ++g) {
        expected[g - 1] = g == 7 ? "4" : "2";
        expected[13 + g - 1] = "1";
    }
    expected[8] = "1230";
    expected[9] = "0";
    expected[10] = "6";
    expected[11] = "-1";
    expected[20] = byteString({0x88, 0xEA, 0x93, 0x99});
    expected[288] = byteString({0x8F, 0xDC, 0x95, 0x69});
    expected[289] = byteString({0x8E, 0x52, 0x93, 0x63, 0x81, 0x60, 0x91, 0xBE, 0x98, 0x59});
    expected[290] = byteString({0x89, 0xD4, 0x8E, 0x71});
    expected[292] = "Taro";
    expected[325] = byteString({0xB1, 0xB2});

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set_up.ini"));
    const SaveResult result = writeSettingsFile(path, lines);
    QVERIFY2(result.ok, qPrintable(result.message));
    QCOMPARE(fileBytes(path), fileOf(expected));
    QCOMPARE(entries(dir.path()), QStringList{"set_up.ini"});
}

void TestSettingsWrite::emptyLinesKeepTheCount()
{
    const QByteArray bytes = settingsBytes(SetupLines{});
    QCOMPARE(bytes, QByteArray("\r\n").repeated(kLineCount));
}

void TestSettingsWrite::lineBreaksCannotShiftLines()
{
    SetupLines lines;
    lines[nameLine(1, 0)] = QStringLiteral("a\nb\r\nc\n");
    lines[kLineCount] = QStringLiteral("last");
    const QByteArray bytes = settingsBytes(lines);
    QCOMPARE(bytes.count("\r\n"), kLineCount);
    QList<QByteArray> expected(kLineCount);
    expected[nameLine(1, 0) - 1] = "a b c";
    expected[kLineCount - 1] = "last";
    QCOMPARE(bytes, fileOf(expected));
}

void TestSettingsWrite::writtenLinesReadBack()
{
    SetupLines lines;
    for (int k = 1; k <= kLineCount; ++k)
        lines[k] = k % 3 == 0 ? QString() : QStringLiteral("%1番 名前ｱ\\~").arg(k);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set_up.ini"));
    QVERIFY(writeSettingsFile(path, lines).ok);
    SetupLines back;
    readSettingsFile(path, back);
    for (int k = 1; k <= kLineCount; ++k)
        QCOMPARE(back[k], lines[k]);
}

void TestSettingsWrite::replacesALargerFileWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set_up.ini"));
    QVERIFY(writeBytes(path, QByteArray(100000, 'x')));
    SetupLines lines;
    lines[1] = QStringLiteral("3");
    QVERIFY(writeSettingsFile(path, lines).ok);
    QCOMPARE(fileBytes(path), fileOf({"3"}));
    QCOMPARE(entries(dir.path()), QStringList{"set_up.ini"});
}

// Rows: a path that cannot be written, relative to a fresh folder holding a file "plain".
void TestSettingsWrite::failures_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("folder is a file") << "plain/set_up.ini";
    QTest::newRow("folder missing") << "missing/set_up.ini";
    QTest::newRow("file is a folder") << "folder";
}

void TestSettingsWrite::failures()
{
    QFETCH(QString, relativePath);
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("plain")), "old"));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("folder/inside")));
    const QString path = dir.filePath(relativePath);
    SetupLines lines;
    lines[1] = QStringLiteral("2");

    const SaveResult result = writeSettingsFile(path, lines);
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(QDir::toNativeSeparators(path)), qPrintable(result.message));
    QVERIFY(result.message.contains(QStringLiteral("保存できませんでした")));
    QCOMPARE(fileBytes(dir.filePath(QStringLiteral("plain"))), QByteArray("old"));
    QCOMPARE(entries(dir.path()), (QStringList{"folder", "plain"}));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder/inside"))).isDir());
}

// A write-protected program folder; the superuser writes there anyway, so then it cannot be tested.
void TestSettingsWrite::unwritableFolder()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set_up.ini"));
    QVERIFY(writeBytes(path, "old\r\n"));
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const bool protectedFolder = access(QFile::encodeName(dir.path()).constData(), W_OK) != 0;
    const SaveResult result = writeSettingsFile(path, SetupLines{});
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!protectedFolder)
        QSKIP("this user may write into a read-only folder; fullDiskLeavesTheOldFile covers the failure");
    QVERIFY(!result.ok);
    QVERIFY(result.message.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(fileBytes(path), QByteArray("old\r\n"));
}

// Rows: the text of every line; a short file fills the disk only when it is flushed at the end,
// a long one already while it is written.
void TestSettingsWrite::fullDiskLeavesTheOldFile_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("short file") << QStringLiteral("名前");
    QTest::newRow("long file") << QStringLiteral("長いメモ").repeated(50);
}

// The disk fills up while the new file is written: the old file stays whole, and nothing is left
// beside it.
void TestSettingsWrite::fullDiskLeavesTheOldFile()
{
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set_up.ini"));
    const QByteArray old = fileOf({"5", "4"});
    QVERIFY(writeBytes(path, old));
    SetupLines lines;
    for (int k = 1; k <= kLineCount; ++k)
        lines[k] = text;

    SaveResult result;
    {
        const FileSizeLimit limit(100);
        result = writeSettingsFile(path, lines);
    }
    QVERIFY(!result.ok);
    QVERIFY2(result.message.contains(QDir::toNativeSeparators(path)), qPrintable(result.message));
    QCOMPARE(fileBytes(path), old);
    QCOMPARE(entries(dir.path()), QStringList{"set_up.ini"});

    QVERIFY(writeSettingsFile(path, lines).ok);
    QCOMPARE(fileBytes(path), settingsBytes(lines));
}

void TestSettingsWrite::messageNamesTheFile()
{
    const QString message = saveFailedMessage(QStringLiteral("/opt/くじ/set_up.ini"), QStringLiteral("Disk full"));
    QCOMPARE(message, QStringLiteral("設定ファイル %1 を保存できませんでした。\n理由: Disk full")
                          .arg(QDir::toNativeSeparators(QStringLiteral("/opt/くじ/set_up.ini"))));
}

void TestSettingsWrite::pathIsBesideTheProgram()
{
    const QFileInfo path(settingsFilePath());
    QCOMPARE(path.fileName(), QStringLiteral("set_up.ini"));
    QCOMPARE(path.absolutePath(), QDir(QCoreApplication::applicationDirPath()).absolutePath());
}

QTEST_GUILESS_MAIN(TestSettingsWrite)
#include "tst_settings_write.moc"
