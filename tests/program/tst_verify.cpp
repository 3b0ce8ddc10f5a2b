// `amidakuji --verify FILE [CODE]` run without a display: each fault a message and an exit status not 0.
#include "commitment/commitment.h"
#include "history.h"
#include "support/file_bytes.h"
#include "support/run_program.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDateTime kFixed = QDateTime::fromString(QStringLiteral("2026-12-07T13:44:05+09:00"), Qt::ISODate);

commitment::Content lottery()
{
    commitment::Content content;
    content.memo = QStringLiteral("忘年会");
    content.mode = 1;
    content.fixedAt = kFixed;
    content.rows = {{"さくら", "温泉旅行"}, {"たろう", "図書カード"}, {"はなこ", "お米"}};
    content.nonce = QByteArray::fromHex("8f14e45fceea167a5a36dedd4bea2543");
    return content;
}

QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QString codeOf(const QByteArray &bytes)
{
    const QByteArray hash = sha256(bytes);
    return QString::fromLatin1(hash.left(4) + '-' + hash.mid(4, 4));
}

Run verify(const QString &folder, const QStringList &arguments)
{
    return runProgram(QStringList{"--verify"} + arguments, folder);
}

// The lottery recorded as the window records it: the hash at standby, the text at completion.
bool record(const QString &folder, const QByteArray &text)
{
    History history;
    if (!history.open(folder + QStringLiteral("/amidakuji/history.sqlite3")))
        return false;
    HistoryLottery made;
    made.fixedAt = kFixed;
    made.memo = lottery().memo;
    made.mode = lottery().mode;
    for (const commitment::Row &row : lottery().rows)
        made.rows.append(HistoryRow{row.name, QString(), false});
    made.participants = int(made.rows.size());
    made.commitmentHash = sha256(text);
    const qint64 id = history.recordStandby(made);
    for (int i = 0; id != 0 && i < made.rows.size(); ++i)
        history.recordTrace(id, i, lottery().rows[i].result);
    return id != 0 && history.complete(id, kFixed.addSecs(30), text, lottery().nonce.toHex());
}

} // namespace

class TestVerify : public QObject
{
    Q_OBJECT

private slots:
    // Rows: FILE ("text" the lottery's, "changed" one character of a result changed, or a fault), the code
    // given ("short" one digit fewer, "other" a wrong one), whether the history holds it; the exit status.
    void verdicts_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("inHistory");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("the code given") << "text" << "code" << false << 0;
        QTest::newRow("the history's hash") << "text" << "" << true << 0;
        QTest::newRow("another code") << "text" << "other" << false << 1;
        QTest::newRow("nothing to compare with") << "text" << "" << false << 1;
        QTest::newRow("one character changed, code given") << "changed" << "code" << false << 1;
        QTest::newRow("one character changed, history") << "changed" << "" << true << 1;
        QTest::newRow("a code one digit short") << "text" << "short" << false << 2;
        QTest::newRow("missing file") << "missing" << "code" << false << 1;
        QTest::newRow("a folder") << "folder" << "code" << false << 1;
        QTest::newRow("binary bytes") << "binary" << "code" << false << 1;
        QTest::newRow("another format version") << "version 2" << "code" << false << 1;
    }

    void verdicts()
    {
        QFETCH(QString, file);
        QFETCH(QString, code);
        QFETCH(bool, inHistory);
        QFETCH(int, exitCode);
        QTemporaryDir folder;
        const QByteArray text = commitment::canonicalText(lottery());
        const QByteArray changed = QByteArray(text).replace("図書カード", "図書カーF");
        if (inHistory)
            QVERIFY(record(folder.path(), text));
        const QString path = folder.filePath("check.txt");
        const QMap<QString, QByteArray> contents{
            {"text", text},
            {"changed", changed},
            {"binary", QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0\n", 11)},
            {"version 2", QByteArray(text).replace("amidakuji-commitment 1", "amidakuji-commitment 2")}};
        if (contents.contains(file))
            QVERIFY(writeBytes(path, contents[file]));
        if (file == "folder")
            QVERIFY(QDir().mkpath(path));
        const QString hash = QString::fromLatin1(sha256(text).left(8));
        const QMap<QString, QString> codes{
            {"code", codeOf(text)}, {"short", hash.left(7)}, {"other", hash.left(7) + (hash[7] == u'0' ? u'1' : u'0')}};
        const Run run = verify(folder.path(), code.isEmpty() ? QStringList{path} : QStringList{path, codes[code]});
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.err.isEmpty(), exitCode == 0);
        // A file read is printed with its code and results; a change read against the history, by its line.
        const bool read = exitCode != 2 && (file == "text" || file == "changed");
        QCOMPARE(run.out.contains(codeOf(file == "changed" ? changed : text)), read);
        for (const commitment::Row &row : lottery().rows)
            QCOMPARE(run.out.contains(row.name), read);
        QCOMPARE(run.err.contains("図書カード") && run.err.contains("図書カーF"), file == "changed" && inHistory);
        QVERIFY(!QFileInfo::exists(folder.filePath("amidakuji/history.sqlite3")) || inHistory);
    }
};

QTEST_GUILESS_MAIN(TestVerify)
#include "tst_verify.moc"
