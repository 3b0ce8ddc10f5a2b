// Code page 932 conversion, the mended look-alikes, and turning pasted text into one line.
#include "settings/cp932.h"
#include "support/encodable_text.h"
#include "support/file_bytes.h"

#include <QtTest>

using namespace settings;

namespace {

QString chars(std::initializer_list<char16_t> values)
{
    QString result;
    for (char16_t v : values)
        result += QChar(v);
    return result;
}

const QChar kFffd = QChar::ReplacementCharacter;

} // namespace

class TestCp932 : public QObject
{
    Q_OBJECT

private slots:
    void converterIsThere();
    void decode_data();
    void decode();
    void encode_data();
    void encode();
    void mendsAreTheBytesTheirLookAlikesDecodeFrom_data();
    void mendsAreTheBytesTheirLookAlikesDecodeFrom();
    void everyCharacterReadWritesBackToItself();
    void encodable_data();
    void encodable();
    void completeLength_data();
    void completeLength();
    void singleLine_data();
    void singleLine();
};

void TestCp932::converterIsThere()
{
    QVERIFY(QStringDecoder("windows-31j").isValid());
    QVERIFY(QStringEncoder("windows-31j").isValid());
    QVERIFY(cp932Available());
}

void TestCp932::decode_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("text");
    QTest::newRow("ASCII") << QByteArray("Abc 12") << "Abc 12";
    QTest::newRow("backslash stays a backslash") << QByteArray("\\~") << "\\~";
    QTest::newRow("hiragana") << byteString({0x82, 0xA0}) << QStringLiteral("あ");
    QTest::newRow("kanji with a wave dash") << byteString({0x8E, 0x52, 0x93, 0x63, 0x81, 0x60, 0x91, 0xBE, 0x98, 0x59})
                                            << QStringLiteral("山田～太郎");
    QTest::newRow("half-width kana") << byteString({0xB1, 0xDF}) << chars({0xFF71, 0xFF9F});
    QTest::newRow("NEC special") << byteString({0x87, 0x40}) << QStringLiteral("①");
    QTest::newRow("IBM extension") << byteString({0xFA, 0x40}) << chars({0x2170});
    QTest::newRow("user-defined area") << byteString({0xF0, 0x40}) << chars({0xE000});
    QTest::newRow("control codes are ASCII") << byteString({0x1A, 0x1C, 0x7F}) << chars({0x1A, 0x1C, 0x7F});
    QTest::newRow("NUL keeps what follows") << QByteArray("a\0b", 3) << chars({u'a', 0, u'b'});
    QTest::newRow("0x80") << byteString({0x80, 0x41}) << QString(kFffd) + u'A';
    QTest::newRow("0xA0") << byteString({0xA0}) << QString(kFffd);
    QTest::newRow("0xFD..0xFF") << byteString({0xFD, 0xFE, 0xFF}) << QString(3, kFffd);
    QTest::newRow("lead byte before a blank") << byteString({0x82, 0x20, 0x41}) << QString(kFffd) + QStringLiteral(" A");
    QTest::newRow("lead byte before DEL") << byteString({0x82, 0x7F}) << QString(kFffd) + QChar(0x7F);
    QTest::newRow("lead byte at the end") << byteString({0x41, 0x82}) << u'A' + QString(kFffd);
    QTest::newRow("unassigned pair is one character") << byteString({0x85, 0x40, 0x41}) << QString(kFffd) + u'A';
    QTest::newRow("UTF-8 byte-order mark is no mark") << byteString({0xEF, 0xBB, 0xBF}) << QString(kFffd) + QChar(0xFF7F);
    QTest::newRow("UTF-8 text") << QByteArray("\xE3\x81\x82") << QStringLiteral("縺") + kFffd;
}

void TestCp932::decode()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, text);
    QCOMPARE(decodeCp932(input), text);
}

void TestCp932::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("output");
    QTest::newRow("ASCII") << "Abc 12" << QByteArray("Abc 12");
    QTest::newRow("empty") << "" << QByteArray();
    QTest::newRow("name with WAVE DASH") << QStringLiteral("山田\u301C太郎")
                                         << byteString({0x8E, 0x52, 0x93, 0x63, 0x81, 0x60, 0x91, 0xBE, 0x98, 0x59});
    QTest::newRow("name with FULLWIDTH TILDE") << QStringLiteral("山田\uFF5E太郎")
                                               << byteString({0x8E, 0x52, 0x93, 0x63, 0x81, 0x60, 0x91, 0xBE, 0x98, 0x59});
    QTest::newRow("half-width kana") << chars({0xFF71}) << byteString({0xB1});
    QTest::newRow("control codes are ASCII") << chars({0x1A, 0x1C, 0x7F}) << byteString({0x1A, 0x1C, 0x7F});
    QTest::newRow("NUL") << chars({u'a', 0, u'b'}) << QByteArray("a\0b", 3);
    QTest::newRow("emoji") << QStringLiteral("a😀b") << QByteArray("a?b");
    QTest::newRow("lone surrogate") << chars({u'a', 0xD800, u'b'}) << QByteArray("a?b");
    QTest::newRow("accented letter") << QStringLiteral("é") << QByteArray("?");
    QTest::newRow("yen sign is not mended") << chars({0x00A5}) << QByteArray("?");
    QTest::newRow("replacement character") << QString(kFffd) << QByteArray("?");
}

void TestCp932::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, output);
    QCOMPARE(encodeCp932(text), output);
}

// Rows: what an input method gives, what code page 932 calls it, and its bytes.
void TestCp932::mendsAreTheBytesTheirLookAlikesDecodeFrom_data()
{
    QTest::addColumn<QChar>("typed");
    QTest::addColumn<QChar>("lookAlike");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("WAVE DASH") << QChar(0x301C) << QChar(0xFF5E) << byteString({0x81, 0x60});
    QTest::newRow("DOUBLE VERTICAL LINE") << QChar(0x2016) << QChar(0x2225) << byteString({0x81, 0x61});
    QTest::newRow("MINUS SIGN") << QChar(0x2212) << QChar(0xFF0D) << byteString({0x81, 0x7C});
    QTest::newRow("CENT SIGN") << QChar(0x00A2) << QChar(0xFFE0) << byteString({0x81, 0x91});
    QTest::newRow("POUND SIGN") << QChar(0x00A3) << QChar(0xFFE1) << byteString({0x81, 0x92});
    QTest::newRow("NOT SIGN") << QChar(0x00AC) << QChar(0xFFE2) << byteString({0x81, 0xCA});
    QTest::newRow("EM DASH") << QChar(0x2014) << QChar(0x2015) << byteString({0x81, 0x5C});
}

void TestCp932::mendsAreTheBytesTheirLookAlikesDecodeFrom()
{
    QFETCH(QChar, typed);
    QFETCH(QChar, lookAlike);
    QFETCH(QByteArray, stored);
    QCOMPARE(decodeCp932(stored), QString(lookAlike));
    QCOMPARE(encodeCp932(QString(typed)), stored);
    QCOMPARE(encodeCp932(QString(lookAlike)), stored);
    QVERIFY(cp932Encodable(typed));
}

// Reading a file and writing it again keeps every character: ASCII and half-width kana byte
// for byte, double-byte characters as the same character (duplicates may take their other code).
void TestCp932::everyCharacterReadWritesBackToItself()
{
    for (int b = 0; b < 0x80; ++b)
        QCOMPARE(encodeCp932(decodeCp932(byteString({b}))), byteString({b}));
    for (int b = 0xA1; b <= 0xDF; ++b)
        QCOMPARE(encodeCp932(decodeCp932(byteString({b}))), byteString({b}));
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            const QString text = decodeCp932(byteString({lead, trail}));
            QCOMPARE(text.size(), 1);
            if (text[0] == kFffd)
                continue;
            ++characters;
            QVERIFY(cp932Encodable(text[0]));
            const QByteArray written = encodeCp932(text);
            QCOMPARE(written.size(), 2);
            QCOMPARE(decodeCp932(written), text);
        }
    }
    // JIS X 0208, the NEC and IBM extensions and the user-defined area.
    QVERIFY2(characters > 9000, qPrintable(QString::number(characters)));
}

void TestCp932::encodable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("encodable");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("ASCII") << "Taro 1" << true;
    QTest::newRow("kanji") << QStringLiteral("山田太郎") << true;
    QTest::newRow("wave dash") << QStringLiteral("〜") << true;
    QTest::newRow("half-width kana") << QStringLiteral("ｱｲｳ") << true;
    QTest::newRow("circled digit") << QStringLiteral("①") << true;
    QTest::newRow("NUL") << QString(QChar(0)) << true;
    QTest::newRow("emoji") << QStringLiteral("😀") << false;
    QTest::newRow("emoji after a name") << QStringLiteral("花子😀") << false;
    QTest::newRow("accented letter") << QStringLiteral("é") << false;
    QTest::newRow("hangul") << QStringLiteral("한") << false;
    QTest::newRow("simplified Chinese") << QStringLiteral("这") << false;
    QTest::newRow("yen sign") << QString(QChar(0x00A5)) << false;
    QTest::newRow("full-width yen sign") << QStringLiteral("￥") << true;
    QTest::newRow("replacement character") << QString(kFffd) << false;
    QTest::newRow("lone surrogate") << chars({0xDC00}) << false;
}

void TestCp932::encodable()
{
    QFETCH(QString, text);
    QFETCH(bool, encodable);
    QCOMPARE(encodableText(text), encodable);
    // What counts as encodable is exactly what encoding keeps.
    QCOMPARE(encodable, decodeCp932(encodeCp932(text)).size() == text.size() && !encodeCp932(text).contains('?'));
}

void TestCp932::completeLength_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("length");
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("ASCII") << QByteArray("abc") << 3;
    QTest::newRow("whole pair") << byteString({0x82, 0xA0}) << 2;
    QTest::newRow("half a pair") << byteString({0x41, 0x82, 0xA0, 0x82}) << 3;
    QTest::newRow("trail byte that looks like a lead") << byteString({0x82, 0x81}) << 2;
    QTest::newRow("kana at the end") << byteString({0x82, 0xA0, 0xB1}) << 3;
}

void TestCp932::completeLength()
{
    QFETCH(QByteArray, input);
    QFETCH(int, length);
    QCOMPARE(int(cp932CompleteLength(input)), length);
}

void TestCp932::singleLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("linePosition");
    QTest::newRow("one line") << "abc" << 1 << "abc" << 1;
    QTest::newRow("LF") << "a\nb" << 3 << "a b" << 3;
    QTest::newRow("CR LF") << "a\r\nb" << 4 << "a b" << 3;
    QTest::newRow("CR") << "a\rb" << 3 << "a b" << 3;
    QTest::newRow("line separator") << QStringLiteral("a\u2028b") << 0 << "a b" << 0;
    QTest::newRow("paragraph separator") << QStringLiteral("a\u2029b") << 0 << "a b" << 0;
    QTest::newRow("next line") << QStringLiteral("a\u0085b") << 0 << "a b" << 0;
    QTest::newRow("blank lines") << "a\n\r\n\nb" << 0 << "a b" << 0;
    QTest::newRow("breaks at the ends") << "\r\nab\r\n" << 0 << "ab" << 0;
    QTest::newRow("only breaks") << "\r\n\n" << 3 << "" << 0;
    QTest::newRow("blanks kept") << "a \n\tb" << 0 << "a  \tb" << 0;
    QTest::newRow("cursor after a break") << "a\nb" << 2 << "a b" << 2;
    QTest::newRow("cursor before a break") << "a\nb" << 1 << "a b" << 1;
    QTest::newRow("cursor inside CR LF") << "a\r\nb" << 2 << "a b" << 2;
    QTest::newRow("cursor after a final break") << "ab\n" << 3 << "ab" << 2;
    QTest::newRow("cursor after a first break") << "\nab" << 1 << "ab" << 0;
    QTest::newRow("pasted into the middle") << QStringLiteral("山田\n花子\n太郎") << 6 << QStringLiteral("山田 花子 太郎") << 6;
}

void TestCp932::singleLine()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(QString, line);
    QFETCH(int, linePosition);
    QCOMPARE(settings::singleLine(text), line);
    int cursor = position;
    QCOMPARE(settings::singleLine(text, &cursor), line);
    QCOMPARE(cursor, linePosition);
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
