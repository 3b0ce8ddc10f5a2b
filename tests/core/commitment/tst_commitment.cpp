// The commitment to a lottery's fixed results: the known text and hash of a fixed lottery, what
// changes the code, reading a text back (and every way a text can be wrong), and what a lottery
// hands out from standby to its last trace and from one round to the next.
#include "commitment/commitment.h"
#include "lottery/lottery.h"
#include "support/fake_sources.h"
#include "support/file_bytes.h"
#include "support/setup_lines.h"

#include <QTest>

Q_DECLARE_METATYPE(commitment::Content)

using commitment::Content;
using commitment::Row;

namespace {

const QDateTime kStandbyTime = QDateTime::fromString(QStringLiteral("2026-12-07T13:44:05+09:00"), Qt::ISODate);

QString fixture(const QString &name)
{
    return qEnvironmentVariable("AMIDAKUJI_FIXTURES") + QStringLiteral("/commitment/") + name;
}

// A lottery of its own sources: a seeded draw, a fixed time, nonces 00 01 02.. per standby.
struct FixedLottery
{
    CountingNonce *nonces = nullptr;
    std::unique_ptr<Lottery> lottery;

    FixedLottery(int mode, int participants, int winners, unsigned seed = 5)
    {
        auto nonce = std::make_unique<CountingNonce>();
        nonces = nonce.get();
        lottery = std::make_unique<Lottery>(LotterySources{std::make_unique<TestRandom>(seed),
                                                           std::make_unique<FixedTicks>(), std::move(nonce),
                                                           std::make_unique<FixedClock>(kStandbyTime)});
        lottery->start(setupLines(counts(participants, winners, mode)));
    }
};

Entries boxes(const QStringList &names, const QString &memo)
{
    Entries entries;
    for (int i = 0; i < names.size(); ++i) {
        entries.names[i] = names[i];
        entries.prizes[i] = QStringLiteral("景品%1").arg(i + 1);
    }
    entries.memo = memo;
    return entries;
}

Content sample()
{
    Content content;
    content.memo = QStringLiteral("忘年会");
    content.mode = 2;
    content.round = 1;
    content.fixedAt = kStandbyTime;
    content.rows = {Row{"さくら", "2"}, Row{"たろう", "1"}, Row{"はなこ", "3"}};
    content.nonce = QByteArray(commitment::kNonceBytes, '\x11');
    return content;
}

// The participant rows of a copied result: "name ：what they reached", without the first line
// (memo and stamp) and the hash line.
QStringList summaryRows(const QString &summary)
{
    QStringList lines = summary.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.removeFirst();
    lines.removeLast();
    return lines;
}

} // namespace

class TestCommitment : public QObject
{
    Q_OBJECT

private slots:
    // A fixed lottery (its draw seeded, its time and nonce fixed) in lottery mode gives exactly
    // the text kept in the fixtures, whose SHA-256 (as sha256sum gives it) is the hash below; the
    // code is its first 8 digits. The text reveals nothing before the last trace.
    void knownAnswer()
    {
        FixedLottery fixed(modes::kLotteryMode, 4, 1);
        Lottery &lottery = *fixed.lottery;
        const Standby done = lottery.standby(boxes({"さくら", "た\\ろう", "はなこ", "けんた"}, "忘年会\tのくじ"), 0, 0, unsaved);
        const QByteArray known = fileBytes(fixture(QStringLiteral("known_answer.txt")));
        const commitment::Reading read = commitment::readText(known);
        QVERIFY2(read.content, qPrintable(read.error));
        for (int i = 0; i < 4; ++i) {
            QVERIFY(!lottery.commitmentText());
            QVERIFY(!lottery.commitmentNonce());
            QCOMPARE(lottery.trace(i).value().reached, read.content->rows[i].result);
        }
        QCOMPARE(lottery.commitmentText(), known);
        // sha256sum tests/fixtures/commitment/known_answer.txt
        QCOMPARE(lottery.commitmentHash(), QByteArray("c7c130e81b7b4230e2b35a4fe3cb8d4404054504af8ce4c05261c254545a69d5"));
        QCOMPARE(done.code, QStringLiteral("c7c1-30e8"));
        QCOMPARE(lottery.commitmentNonce(), QByteArray("000102030405060708090a0b0c0d0e0f"));
    }

    // Rows: what differs from the sample. Any change of what was fixed changes the code; the same
    // content gives the same code.
    void codeChanges_data()
    {
        QTest::addColumn<Content>("changed");
        QTest::addColumn<bool>("sameCode");
        Content c = sample();
        QTest::newRow("nothing") << c << true;
        c = sample(); c.rows[0].result = "3"; c.rows[2].result = "2";
        QTest::newRow("two results swapped") << c << false;
        c = sample(); c.rows[1].result = "1 ";
        QTest::newRow("a result one character longer") << c << false;
        c = sample(); c.rows[1].name = "たろ";
        QTest::newRow("a name one character shorter") << c << false;
        c = sample(); std::swap(c.rows[0], c.rows[1]);
        QTest::newRow("the order of two participants") << c << false;
        c = sample(); c.rows.removeLast();
        QTest::newRow("one participant fewer") << c << false;
        c = sample(); c.nonce[15] = '\x10';
        QTest::newRow("the nonce's last byte one less") << c << false;
        c = sample(); c.memo += "!";
        QTest::newRow("the memo") << c << false;
        c = sample(); c.mode = 1;
        QTest::newRow("the mode") << c << false;
        c = sample(); c.round = 2;
        QTest::newRow("the round") << c << false;
        c = sample(); c.fixedAt = c.fixedAt.addSecs(1);
        QTest::newRow("the time one second later") << c << false;
        c = sample(); c.fixedAt = c.fixedAt.toOffsetFromUtc(0);
        QTest::newRow("the same moment in another offset") << c << false;
    }

    void codeChanges()
    {
        QFETCH(Content, changed);
        QFETCH(bool, sameCode);
        const commitment::Commitment before = commitment::commit(sample());
        const commitment::Commitment after = commitment::commit(changed);
        QCOMPARE(after.code() == before.code(), sameCode);
        QCOMPARE(after.hash == before.hash, sameCode);
        QCOMPARE(after.code().size(), 9);
        QCOMPARE(QByteArray(after.code().remove(u'-').toLatin1()), after.hash.left(8));
    }

    // Rows: texts the program writes, read back as the content they came from.
    void readBack_data()
    {
        QTest::addColumn<Content>("content");
        Content c = sample();
        QTest::newRow("plain") << c;
        c.memo = "a\\b\tc\nd\re\\t";
        c.rows[0].name = "\\";
        c.rows[1].result = "\t";
        QTest::newRow("escaped characters in memo, name and result") << c;
        c = sample(); c.memo.clear();
        QTest::newRow("empty memo") << c;
        c = sample(); c.rows = {Row{"a", "b"}, Row{"c", "d"}};
        QTest::newRow("two participants, the fewest") << c;
        c = sample(); c.rows.clear();
        for (int i = 0; i < kBoxCount; ++i)
            c.rows.append(Row{QString::number(i), QString::number(i)});
        QTest::newRow("37 participants, the most") << c;
        c = sample(); c.fixedAt = QDateTime::fromString("2026-01-02T03:04:05-03:30", Qt::ISODate);
        QTest::newRow("a negative offset") << c;
        c = sample(); c.fixedAt = QDateTime::fromString("2026-01-02T03:04:05Z", Qt::ISODate);
        QTest::newRow("UTC") << c;
    }

    void readBack()
    {
        QFETCH(Content, content);
        const QByteArray text = commitment::canonicalText(content);
        const commitment::Reading read = commitment::readText(text);
        QVERIFY2(read.content, qPrintable(read.error));
        QCOMPARE(read.content->memo, content.memo);
        QCOMPARE(read.content->mode, content.mode);
        QCOMPARE(read.content->round, content.round);
        QCOMPARE(read.content->fixedAt.toMSecsSinceEpoch(), content.fixedAt.toMSecsSinceEpoch());
        QCOMPARE(read.content->rows, content.rows);
        QCOMPARE(read.content->nonce, content.nonce);
        QVERIFY(!text.contains('\r'));
        QCOMPARE(text.count('\n'), 6 + content.rows.size());
    }

    // Rows: a text changed from the sample's (lines numbered from 1; "fixed" is its fifth, the
    // participants 6..8 and the nonce 9) and the line the reader names (0 for the whole file).
    void readFaults_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        const QByteArray good = commitment::canonicalText(sample());
        const QList<QByteArray> lines = good.split('\n');
        const auto with = [&](int line, const QByteArray &replacement) {
            QList<QByteArray> changed = lines;
            changed[line - 1] = replacement;
            return changed.join('\n');
        };
        const auto without = [&](int line) {
            QList<QByteArray> changed = lines;
            changed.removeAt(line - 1);
            return changed.join('\n');
        };
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("no line feed at the end") << good.chopped(1) << 9;
        QTest::newRow("an empty line at the end") << good + '\n' << 10;
        QTest::newRow("CR LF line ends") << QByteArray(good).replace("\n", "\r\n") << 1;
        QTest::newRow("a byte-order mark") << "\xEF\xBB\xBF" + good << 1;
        QTest::newRow("a NUL byte") << with(6, QByteArray("participant\tさくら\t") + '\0' + '2') << 6;
        QTest::newRow("not UTF-8") << with(2, "memo\t\x96\x59") << 2;
        QTest::newRow("another version") << with(1, "amidakuji-commitment 2") << 1;
        QTest::newRow("another format") << with(1, "amidakuji 1") << 1;
        QTest::newRow("memo missing") << without(2) << 2;
        QTest::newRow("mode twice") << with(4, "mode\tnumber") << 4;
        QTest::newRow("an unknown field") << with(4, "rounds\t1") << 4;
        QTest::newRow("no tab after a field's name") << with(4, "round 1") << 4;
        QTest::newRow("round 0") << with(4, "round\t0") << 4;
        QTest::newRow("round written 01") << with(4, "round\t01") << 4;
        QTest::newRow("an unknown mode") << with(3, "mode\twinners") << 3;
        QTest::newRow("time without offset") << with(5, "fixed-at\t2026-12-07T13:44:05") << 5;
        QTest::newRow("time written Z") << with(5, "fixed-at\t2026-12-07T04:44:05Z") << 5;
        QTest::newRow("time not a date") << with(5, "fixed-at\t2026-02-30T13:44:05+09:00") << 5;
        QTest::newRow("no participant") << without(8).replace("participant\tさくら\t2\nparticipant\tたろう\t1\n", "") << 6;
        QTest::newRow("one participant, one fewer than the fewest") << without(8).replace("participant\tたろう\t1\n", "") << 7;
        QTest::newRow("a participant without result") << with(7, "participant\tたろう") << 7;
        QTest::newRow("an empty name") << with(7, "participant\t\t1") << 7;
        QTest::newRow("a name with a lone backslash") << with(7, "participant\tた\\ろう\t1") << 7;
        QTest::newRow("a result with a tab more") << with(7, "participant\tたろう\t1\tx") << 7;
        QTest::newRow("nonce one digit short") << with(9, "nonce\t" + QByteArray(31, '1')) << 9;
        QTest::newRow("nonce one digit long") << with(9, "nonce\t" + QByteArray(33, '1')) << 9;
        QTest::newRow("nonce in capitals") << with(9, "nonce\t" + QByteArray(32, 'A')) << 9;
        QTest::newRow("nonce missing") << without(9) << 9;
        QTest::newRow("a line after the nonce") << good + "memo\tx\n" << 10;
        QTest::newRow("a participant after the nonce") << good + "participant\ta\tb\n" << 10;
        QByteArray most = lines.mid(0, 5).join('\n') + '\n';
        for (int i = 0; i < kBoxCount + 1; ++i)
            most += "participant\tn" + QByteArray::number(i) + "\tr\n";
        QTest::newRow("38 participants, one more than the most") << most + lines[8] + '\n' << 6 + kBoxCount;
    }

    void readFaults()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        const commitment::Reading read = commitment::readText(text);
        QVERIFY(!read.content);
        QCOMPARE(read.line, line);
        QVERIFY(!read.error.isEmpty());
    }

    // Rows: the draw mode. The code stays the one standby showed until the last trace; only then
    // are the text and the nonce handed out, and the results in the text are those the copied
    // result announces, name by name.
    void fromStandbyToLastTrace_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("winner") << int(modes::kWinnerMode);
        QTest::newRow("lottery") << int(modes::kLotteryMode);
        QTest::newRow("number") << int(modes::kNumberMode);
    }

    void fromStandbyToLastTrace()
    {
        QFETCH(int, mode);
        const QStringList names{"A", "B", "C", "D", "E", "F"};
        FixedLottery fixed(mode, names.size(), 2);
        Lottery &lottery = *fixed.lottery;
        QVERIFY(lottery.commitmentCode().isEmpty());
        const QString code = lottery.standby(boxes(names, "m"), 0, 0, unsaved).code;
        QVERIFY(!code.isEmpty());
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(lottery.commitmentCode(), code);
            QVERIFY(!lottery.commitmentText());
            lottery.trace(i);
        }
        QCOMPARE(lottery.commitmentCode(), code);
        const std::optional<QByteArray> text = lottery.commitmentText();
        QVERIFY(text);
        QCOMPARE(commitment::shortCode(commitment::sha256Hex(*text)), code);
        const commitment::Reading read = commitment::readText(*text);
        QVERIFY2(read.content, qPrintable(read.error));
        QStringList announced;
        for (const Row &row : read.content->rows)
            announced << row.name + ladder::kResultSeparator + row.result;
        const QString summary = lottery.resultSummary(QStringLiteral("stamp"));
        QCOMPARE(summaryRows(summary), announced);
        QVERIFY(summary.endsWith(QString::fromLatin1(lottery.commitmentHash()) + u'\n'));
    }

    // Each standby commits anew with a nonce of its own: a round, the next lottery, a new ladder
    // after standby (which goes back to entry and drops the commitment).
    void eachStandbyItsOwn()
    {
        FixedLottery fixed(modes::kWinnerMode, 6, 1);
        Lottery &lottery = *fixed.lottery;
        const QStringList names{"A", "B", "C", "D", "E", "F"};
        QStringList codes;
        codes << lottery.standby(boxes(names, "m"), 0, 0, unsaved).code;
        for (int i = 0; i < names.size(); ++i)
            lottery.trace(i);
        QVERIFY(lottery.nextRound());
        QVERIFY(lottery.commitmentCode().isEmpty());
        QVERIFY(!lottery.commitmentText());
        codes << lottery.standby(boxes(names.mid(0, lottery.participantCount()), "m"), 0, 0, unsaved).code;
        lottery.nextLottery();
        QVERIFY(lottery.commitmentCode().isEmpty());
        codes << lottery.standby(boxes(names, "m"), 0, 0, unsaved).code;
        lottery.makeLadder();
        QVERIFY(lottery.commitmentCode().isEmpty());
        QCOMPARE(fixed.nonces->taken, 3);
        codes.removeDuplicates();
        QCOMPARE(codes.size(), 3);
    }

    // The nonce never comes from the draw's generator: the same seed draws the same lottery
    // whatever the nonce.
    void nonceApartFromTheDraw()
    {
        FixedLottery first(modes::kNumberMode, 5, 1, 9);
        FixedLottery second(modes::kNumberMode, 5, 1, 9);
        second.nonces->taken = 40;
        const Entries entries = boxes({"A", "B", "C", "D", "E"}, "m");
        const QString firstCode = first.lottery->standby(entries, 0, 0, unsaved).code;
        const QString secondCode = second.lottery->standby(entries, 0, 0, unsaved).code;
        QVERIFY(firstCode != secondCode);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(first.lottery->trace(i)->reached, second.lottery->trace(i)->reached);
    }
};

QTEST_GUILESS_MAIN(TestCommitment)
#include "tst_commitment.moc"
