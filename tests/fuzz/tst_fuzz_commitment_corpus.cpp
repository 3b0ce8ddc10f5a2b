// Every file of the commitment reader's fuzz corpus (seeds and the inputs of past findings)
// through the fuzzer's own checks, in every test run and without clang.
#include "commitment_harness.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestFuzzCommitmentCorpus : public QObject
{
    Q_OBJECT

private slots:
    // The seeds the corpus must keep, so that an emptied folder cannot pass: one text that reads
    // and some that do not.
    void initTestCase()
    {
        for (const char *name : {"known_answer", "empty", "version_2", "crlf", "escapes"})
            QVERIFY2(QFile::exists(QStringLiteral(AMIDAKUJI_FUZZ_CORPUS) + u'/' + QLatin1String(name)), name);
    }

    void corpusFile_data()
    {
        QTest::addColumn<QString>("path");
        const QDir folder(QStringLiteral(AMIDAKUJI_FUZZ_CORPUS));
        for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(name)) << folder.filePath(name);
    }

    void corpusFile()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString problem = fuzz::commitmentProblem(file.readAll());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(TestFuzzCommitmentCorpus)
#include "tst_fuzz_commitment_corpus.moc"
