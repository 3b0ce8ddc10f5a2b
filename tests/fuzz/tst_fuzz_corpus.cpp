// Every file of the fuzz corpus (seeds and the inputs of past findings) through the fuzzer's
// own checks and those through real files, in every test run and without clang.
#include "settings_harness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString corpusFolder()
{
    return QStringLiteral(AMIDAKUJI_FUZZ_CORPUS);
}

QByteArray crLfLines(int count)
{
    QByteArray bytes;
    for (int k = 1; k <= count; ++k)
        bytes += QByteArray::number(k) + "\r\n";
    return bytes;
}

} // namespace

class TestFuzzCorpus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void corpusFile_data();
    void corpusFile();
    void fileForm_data();
    void fileForm();
    void fileChecks_data();
    void fileChecks();

private:
    QTemporaryDir m_folder;
};

void TestFuzzCorpus::initTestCase()
{
    QVERIFY(m_folder.isValid());
    // The seeds the corpus must keep, so that an emptied folder cannot pass.
    for (const char *name : {"empty", "one_byte", "ten_lines", "four_hundred_lines", "long_lines",
                             "bad_cp932", "nul_byte", "number_1e400", "number_minus_0",
                             "number_blanks_7", "number_32768", "number_2abc", "number_hex_10"}) {
        QVERIFY2(QFile::exists(corpusFolder() + u'/' + QLatin1String(name)), name);
    }
}

void TestFuzzCorpus::corpusFile_data()
{
    QTest::addColumn<QString>("path");
    const QDir folder(corpusFolder());
    const QStringList names = folder.entryList(QDir::Files, QDir::Name);
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << folder.filePath(name);
}

void TestFuzzCorpus::corpusFile()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray input = file.readAll();
    const QString problem = fuzz::settingsFileProblem(input, m_folder.path());
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestFuzzCorpus::fileForm_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("sound");
    QTest::newRow("326 lines") << crLfLines(326) << true;
    QTest::newRow("326 empty lines") << QByteArray("\r\n").repeated(326) << true;
    QTest::newRow("325 lines") << crLfLines(325) << false;
    QTest::newRow("327 lines") << crLfLines(327) << false;
    QTest::newRow("last line open") << crLfLines(326).chopped(2) << false;
    QTest::newRow("last line LF") << crLfLines(326).chopped(2) + "\n" << false;
    QTest::newRow("LF inside") << crLfLines(326).replace("7\r\n", "7\n") << false;
    QTest::newRow("CR inside") << crLfLines(326).replace("5", "5\r") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestFuzzCorpus::fileForm()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, sound);
    QCOMPARE(fuzz::fileFormProblem(bytes).isEmpty(), sound);
}

// The replay goes through files as well: a folder that cannot take them is a problem, not a pass.
void TestFuzzCorpus::fileChecks_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("sound");
    QTest::newRow("writable folder") << m_folder.path() << true;
    QTest::newRow("missing folder") << m_folder.filePath(QStringLiteral("missing")) << false;
}

void TestFuzzCorpus::fileChecks()
{
    QFETCH(QString, folder);
    QFETCH(bool, sound);
    const QByteArray input = crLfLines(326);
    QVERIFY2(fuzz::settingsProblem(input).isEmpty(), qPrintable(fuzz::settingsProblem(input)));
    QCOMPARE(fuzz::settingsFileProblem(input, folder).isEmpty(), sound);
}

QTEST_GUILESS_MAIN(TestFuzzCorpus)
#include "tst_fuzz_corpus.moc"
