// The commitment: the known text and hash, what changes the code, reading a text back, each standby's own.
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

// A lottery of its own sources: a seeded draw, a fixed time, nonces 00 01 02.. per standby.
struct FixedLottery
{
    CountingNonce *nonces = nullptr;
    std::unique_ptr<Lottery> lottery;

    FixedLottery(int mode, int participants, int winners)
    {
        auto nonce = std::make_unique<CountingNonce>();
        nonces = nonce.get();
        lottery = std::make_unique<Lottery>(LotterySources{std::make_unique<TestRandom>(5),
                                                           std::make_unique<FixedTicks>(), std::move(nonce),
                                                           std::make_unique<FixedClock>(kStandbyTime)});
        lottery->start(setupLines(counts(participants, winners, mode)));
    }
};

Entries boxes(const QStringList &names)
{
    Entries entries;
    for (int i = 0; i < names.size(); ++i) {
        entries.names[i] = names[i];
        entries.prizes[i] = QStringLiteral("景品%1").arg(i + 1);
    }
    entries.memo = QStringLiteral("m");
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

const QStringList kSix{"A", "B", "C", "D", "E", "F"};

} // namespace

class TestCommitment : public QObject
{
    Q_OBJECT

private slots:
    // A fixed lottery gives exactly the fixtures' text (hash as sha256sum gives it), none of it before the last trace.
    void knownAnswer()
    {
        FixedLottery fixed(modes::kLotteryMode, 4, 1);
        Lottery &lottery = *fixed.lottery;
        Entries entries = boxes({"さくら", "た\\ろう", "はなこ", "けんた"});
        entries.memo = QStringLiteral("忘年会\tのくじ");
        const Standby done = lottery.standby(entries, 0, 0, unsaved);
        const QByteArray known = fileBytes(qEnvironmentVariable("AMIDAKUJI_FIXTURES") + "/commitment/known_answer.txt");
        const commitment::Reading read = commitment::readText(known);
        QVERIFY2(read.content, qPrintable(read.error));
        for (int i = 0; i < 4; ++i) {
            QVERIFY(!lottery.commitmentText() && !lottery.commitmentNonce());
            QCOMPARE(lottery.trace(i).value().reached, read.content->rows[i].result);
        }
        QCOMPARE(lottery.commitmentText(), known);
        QCOMPARE(lottery.commitmentHash(), QByteArray("c7c130e81b7b4230e2b35a4fe3cb8d4404054504af8ce4c05261c254545a69d5"));
        QCOMPARE(done.code, QStringLiteral("c7c1-30e8"));
        QCOMPARE(lottery.commitmentNonce(), QByteArray("000102030405060708090a0b0c0d0e0f"));
    }

    // Rows: a change to the sample; its text reads back as it was, and only "nothing" keeps the code.
    void codeAndReadBack_data()
    {
        QTest::addColumn<Content>("changed");
        const auto row = [](const char *name, void (*change)(Content &)) {
            Content c = sample();
            change(c);
            QTest::newRow(name) << c;
        };
        row("nothing", [](Content &) {});
        row("two results swapped", [](Content &c) { c.rows[0].result = "3"; c.rows[2].result = "2"; });
        row("a result one character longer", [](Content &c) { c.rows[1].result = "1 "; });
        row("a name one character shorter", [](Content &c) { c.rows[1].name = "たろ"; });
        row("the order of two participants", [](Content &c) { std::swap(c.rows[0], c.rows[1]); });
        row("the nonce's last byte one less", [](Content &c) { c.nonce[15] = '\x10'; });
        row("the mode", [](Content &c) { c.mode = 1; });
        row("the round", [](Content &c) { c.round = 2; });
        row("the time one second later", [](Content &c) { c.fixedAt = c.fixedAt.addSecs(1); });
        row("the same moment in UTC", [](Content &c) { c.fixedAt = c.fixedAt.toOffsetFromUtc(0); });
        row("a negative offset", [](Content &c) { c.fixedAt = QDateTime::fromString("2026-01-02T03:04:05-03:30", Qt::ISODate); });
        row("escapes in memo, name and result", [](Content &c) { c.memo = "a\\b\tc\nd\re\\t"; c.rows[0] = {"\\", "\t"}; });
        row("empty memo", [](Content &c) { c.memo.clear(); });
        row("two participants, the fewest", [](Content &c) { c.rows.removeLast(); });
        row("37 participants, the most", [](Content &c) { while (c.rows.size() < kBoxCount) c.rows.append(Row{"n", "r"}); });
    }

    void codeAndReadBack()
    {
        QFETCH(Content, changed);
        const commitment::Commitment before = commitment::commit(sample());
        const commitment::Commitment after = commitment::commit(changed);
        const bool same = QByteArray(QTest::currentDataTag()) == "nothing";
        QCOMPARE(after.code() == before.code(), same);
        QCOMPARE(after.hash == before.hash, same);
        QCOMPARE(QByteArray(after.code().remove(u'-').toLatin1()), after.hash.left(8));
        const QByteArray text = commitment::canonicalText(changed);
        const commitment::Reading read = commitment::readText(text);
        QVERIFY2(read.content, qPrintable(read.error));
        QCOMPARE(std::tuple(read.content->memo, read.content->mode, read.content->round, read.content->rows, read.content->nonce),
                 std::tuple(changed.memo, changed.mode, changed.round, changed.rows, changed.nonce));
        QCOMPARE(read.content->fixedAt.toMSecsSinceEpoch(), changed.fixedAt.toMSecsSinceEpoch());
    }

    // Rows: the sample's text changed (memo line 2, fixed-at 5, participants 6..8, nonce 9); the line named, 0 the file.
    void readFaults_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        const QByteArray good = commitment::canonicalText(sample());
        const QList<QByteArray> lines = good.split('\n');
        const auto edit = [&](int line, const std::optional<QByteArray> &replacement) {
            QList<QByteArray> changed = lines;
            replacement ? void(changed[line - 1] = *replacement) : changed.removeAt(line - 1);
            return changed.join('\n');
        };
        const auto with = [&](int line, const QByteArray &replacement) { return edit(line, replacement); };
        const auto without = [&](int line) { return edit(line, std::nullopt); };
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("no line feed at the end") << good.chopped(1) << 9;
        QTest::newRow("an empty line at the end") << good + '\n' << 10;
        QTest::newRow("CR LF line ends") << QByteArray(good).replace("\n", "\r\n") << 1;
        QTest::newRow("a byte-order mark") << "\xEF\xBB\xBF" + good << 1;
        QTest::newRow("a NUL byte") << with(6, QByteArray("participant\tさくら\t") + '\0' + '2') << 6;
        QTest::newRow("not UTF-8") << with(2, "memo\t\x96\x59") << 2;
        QTest::newRow("another version") << with(1, "amidakuji-commitment 2") << 1;
        QTest::newRow("memo missing") << without(2) << 2;
        QTest::newRow("mode where round belongs") << with(4, "mode\tnumber") << 4;
        QTest::newRow("no tab after a field's name") << with(4, "round 1") << 4;
        QTest::newRow("round 0") << with(4, "round\t0") << 4;
        QTest::newRow("round written 01") << with(4, "round\t01") << 4;
        QTest::newRow("an unknown mode") << with(3, "mode\twinners") << 3;
        QTest::newRow("time without offset") << with(5, "fixed-at\t2026-12-07T13:44:05") << 5;
        QTest::newRow("time not a date") << with(5, "fixed-at\t2026-02-30T13:44:05+09:00") << 5;
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
        QVERIFY(!read.content && !read.error.isEmpty());
        QCOMPARE(read.line, line);
    }

    // Each standby commits anew with its own nonce: a round, the next lottery; a new ladder drops the code.
    void eachStandbyItsOwn()
    {
        FixedLottery fixed(modes::kWinnerMode, kSix.size(), 1);
        Lottery &lottery = *fixed.lottery;
        QStringList codes{lottery.standby(boxes(kSix), 0, 0, unsaved).code};
        for (int i = 0; i < kSix.size(); ++i)
            lottery.trace(i);
        QVERIFY(lottery.nextRound());
        QVERIFY(lottery.commitmentCode().isEmpty() && !lottery.commitmentText());
        codes << lottery.standby(boxes(kSix.mid(0, lottery.participantCount())), 0, 0, unsaved).code;
        lottery.nextLottery();
        QVERIFY(lottery.commitmentCode().isEmpty());
        codes << lottery.standby(boxes(kSix), 0, 0, unsaved).code;
        lottery.makeLadder();
        QVERIFY(lottery.commitmentCode().isEmpty());
        QCOMPARE(fixed.nonces->taken, 3);
        codes.removeDuplicates();
        QCOMPARE(codes.size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestCommitment)
#include "tst_commitment.moc"
