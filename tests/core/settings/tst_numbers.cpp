// The number readings of settings lines and the way numbers are written back.
#include "settings/numbers.h"

#include <QtTest>

#include <clocale>
#include <cmath>

using namespace settings;

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void wholeNumber_data();
    void wholeNumber();
    void leadingNumber_data();
    void leadingNumber();
    void testedBelow_data();
    void testedBelow();
    void singleValue_data();
    void singleValue();
    void roundHalfEvenRefusesNonFinite();
    void openingGroup_data();
    void openingGroup();
    void formatCount();
    void formatPosition_data();
    void formatPosition();
    void positionsReadBackAsWritten();
    void sameInEveryLocale();
};

// Rows: text, whether it reads, the value.
void TestNumbers::wholeNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<int>("value");
    const auto fails = [](const char *name, const QString &text) { QTest::newRow(name) << text << false << 0; };
    const auto gives = [](const char *name, const QString &text, int v) { QTest::newRow(name) << text << true << v; };

    fails("empty", "");
    fails("blanks only", "   ");
    gives("plain", "7", 7);
    gives("blanks around", " 7 ", 7);
    gives("tabs around", "\t7\t", 7);
    gives("plus sign", "+7", 7);
    gives("negative", "-1", -1);
    gives("minus zero", "-0", 0);
    gives("leading zeros", "0002", 2);
    fails("trailing letters", "2abc");
    fails("leading letters", "abc2");
    gives("half to even down", "2.5", 2);
    gives("half to even up", "3.5", 4);
    gives("negative half to even", "-2.5", -2);
    gives("negative half to even odd", "-3.5", -4);
    gives("half of zero", "0.5", 0);
    gives("one and a half", "1.5", 2);
    gives("just below a half", "2.4999", 2);
    gives("just above a half", "2.5000001", 3);
    gives("point without fraction", "5.", 5);
    gives("fraction without digits before", ".5", 0);
    fails("point alone", ".");
    fails("sign alone", "-");
    gives("largest", "32767", 32767);
    gives("largest plus a little", "32767.4", 32767);
    fails("largest plus a half", "32767.5");
    fails("one past largest", "32768");
    gives("smallest", "-32768", -32768);
    gives("smallest minus a half", "-32768.5", -32768);
    fails("smallest minus more than a half", "-32768.6");
    fails("one below smallest", "-32769");
    fails("twenty digits", "99999999999999999999");
    gives("exponent", "2e1", 20);
    gives("exponent with sign", "2E+1", 20);
    gives("negative exponent", "25e-1", 2);
    fails("exponent without digits", "1e");
    fails("exponent alone", "e5");
    fails("huge exponent", "1e400");
    fails("huge negative", "-1e400");
    gives("tiny", "1e-400", 0);
    fails("exponent far beyond", "1e99999999999999999999");
    fails("nan", "nan");
    fails("NaN", "NaN");
    fails("inf", "inf");
    fails("negative infinity", "-infinity");
    fails("hexadecimal", "&H10");
    fails("octal", "&O10");
    fails("C hexadecimal", "0x10");
    fails("thousands separator", "1,000");
    fails("decimal comma", "2,5");
    fails("blank after sign", "- 5");
    fails("blank inside", "5 5");
    fails("two signs", "--5");
    fails("full-width digits", QStringLiteral("１２"));
    fails("full-width minus", QStringLiteral("－1"));
    fails("ideographic space", QStringLiteral("3\u3000"));
    fails("Arabic-Indic digit", QStringLiteral("\u0663"));
    fails("line break inside", "3\n");
}

void TestNumbers::wholeNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, reads);
    QFETCH(int, value);
    const std::optional<int16_t> result = settings::wholeNumber(text);
    QCOMPARE(result.has_value(), reads);
    if (reads)
        QCOMPARE(int(*result), value);
}

void TestNumbers::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("number") << "6" << 6.0;
    QTest::newRow("digit then letters") << "2abc" << 2.0;
    QTest::newRow("blanks, sign, fraction") << " \t-3.5xyz" << -3.5;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("plus") << "+4" << 4.0;
    QTest::newRow("exponent not read") << "2e3" << 2.0;
    QTest::newRow("fraction only") << ".5" << 0.5;
    QTest::newRow("point at end") << "5." << 5.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("blank after sign") << "- 5" << 0.0;
    QTest::newRow("hexadecimal") << "&H10" << 0.0;
    QTest::newRow("full-width digit") << QStringLiteral("１") << 0.0;
    QTest::newRow("second point ends it") << "1.2.3" << 1.2;
    QTest::newRow("too large") << QString(400, u'9') << std::numeric_limits<double>::infinity();
    QTest::newRow("too large negative") << "-" + QString(400, u'9') << -std::numeric_limits<double>::infinity();
}

void TestNumbers::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(settings::leadingNumber(text), value);
}

void TestNumbers::testedBelow_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("threshold");
    QTest::addColumn<bool>("below");
    QTest::newRow("empty") << "" << 0.0 << true;
    QTest::newRow("not a number") << "abc" << 0.0 << true;
    QTest::newRow("leading number is not enough") << "5abc" << 2.0 << true;
    QTest::newRow("zero against zero") << "0" << 0.0 << false;
    QTest::newRow("minus zero") << "-0" << 0.0 << false;
    QTest::newRow("negative position") << "-60" << 0.0 << true;
    QTest::newRow("small negative") << "-0.001" << 0.0 << true;
    QTest::newRow("count one") << "1" << 2.0 << true;
    QTest::newRow("count two") << "2" << 2.0 << false;
    QTest::newRow("not rounded") << "1.9999" << 2.0 << true;
    QTest::newRow("blanks") << " 5 " << 2.0 << false;
    QTest::newRow("huge counts as no number") << "1e400" << 0.0 << true;
    QTest::newRow("huge negative") << "-1e400" << 0.0 << true;
    QTest::newRow("tiny is zero") << "1e-400" << 0.0 << false;
    QTest::newRow("tiny negative is zero") << "-1e-400" << 0.0 << false;
    QTest::newRow("nan") << "nan" << 0.0 << true;
    QTest::newRow("infinity") << "inf" << 0.0 << true;
    QTest::newRow("large position") << "123456789" << 0.0 << false;
    QTest::newRow("just beyond a double") << "1.8e308" << 0.0 << true;
    QTest::newRow("just within a double") << "1.7e308" << 0.0 << false;
    QTest::newRow("below the smallest double") << "2.4e-324" << 0.0 << false;
}

void TestNumbers::testedBelow()
{
    QFETCH(QString, text);
    QFETCH(double, threshold);
    QFETCH(bool, below);
    QCOMPARE(settings::testedBelow(text, threshold), below);
}

void TestNumbers::singleValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<float>("value");
    QTest::newRow("whole") << "1230" << true << 1230.0f;
    QTest::newRow("fraction") << "1230.5" << true << 1230.5f;
    QTest::newRow("negative") << "-60" << true << -60.0f;
    QTest::newRow("exponent") << "1.5e3" << true << 1500.0f;
    QTest::newRow("largest single") << "3.4e38" << true << 3.4e38f;
    QTest::newRow("beyond single") << "1e39" << false << 0.0f;
    QTest::newRow("beyond double") << "1e400" << false << 0.0f;
    QTest::newRow("empty") << "" << false << 0.0f;
    QTest::newRow("letters") << "12px" << false << 0.0f;
}

void TestNumbers::singleValue()
{
    QFETCH(QString, text);
    QFETCH(bool, reads);
    QFETCH(float, value);
    const std::optional<float> result = settings::singleValue(text);
    QCOMPARE(result.has_value(), reads);
    if (reads)
        QCOMPARE(*result, value);
}

void TestNumbers::roundHalfEvenRefusesNonFinite()
{
    QVERIFY(!roundHalfEven16(std::numeric_limits<double>::infinity()));
    QVERIFY(!roundHalfEven16(-std::numeric_limits<double>::infinity()));
    QVERIFY(!roundHalfEven16(std::nan("")));
    QCOMPARE(*roundHalfEven16(-0.5), int16_t(0));
    QCOMPARE(*roundHalfEven16(32766.5), int16_t(32766));
}

void TestNumbers::openingGroup_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("group");
    QTest::newRow("empty opens group 1") << "" << 1;
    QTest::newRow("0") << "0" << 1;
    QTest::newRow("6 opens group 7") << "6" << 7;
    QTest::newRow("2abc opens group 3") << "2abc" << 3;
    QTest::newRow("7 is no group") << "7" << 1;
    QTest::newRow("-1 is no group") << "-1" << 1;
    QTest::newRow("half rounds to even up") << "1.5" << 2;
    QTest::newRow("half rounds to even down") << "0.5" << 2;
    QTest::newRow("negative half gives 0") << "-0.5" << 1;
    QTest::newRow("fraction") << "5.6" << 7;
    QTest::newRow("exponent is not read") << "1e400" << 2;
    QTest::newRow("too large for 16 bits") << "40000" << 1;
    QTest::newRow("too large for a double") << QString(400, u'9') << 1;
    QTest::newRow("blank first") << " 3" << 4;
}

void TestNumbers::openingGroup()
{
    QFETCH(QString, line);
    QFETCH(int, group);
    QCOMPARE(int(settings::openingGroup(line)), group);
}

void TestNumbers::formatCount()
{
    QCOMPARE(settings::formatCount(2), QStringLiteral("2"));
    QCOMPARE(settings::formatCount(-1), QStringLiteral("-1"));
    QCOMPARE(settings::formatCount(0), QStringLiteral("0"));
    QCOMPARE(settings::formatCount(-32768), QStringLiteral("-32768"));
}

void TestNumbers::formatPosition_data()
{
    QTest::addColumn<float>("twips");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 1230.0f << "1230";
    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("minus zero") << -0.0f << "0";
    QTest::newRow("negative") << -60.0f << "-60";
    QTest::newRow("fraction") << 1230.5f << "1230.5";
    QTest::newRow("seven digits") << 1234567.0f << "1234567";
    QTest::newRow("small fraction") << 0.25f << "0.25";
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << "0";
    QTest::newRow("infinity") << std::numeric_limits<float>::infinity() << "0";
}

void TestNumbers::formatPosition()
{
    QFETCH(float, twips);
    QFETCH(QString, text);
    QCOMPARE(settings::formatPosition(twips), text);
}

void TestNumbers::positionsReadBackAsWritten()
{
    for (float twips : {15.0f, 1230.0f, -45.0f, 28800.0f, 9999999.0f, 1230.125f, 0.1f}) {
        const QString text = settings::formatPosition(twips);
        QVERIFY2(text.size() <= 9, qPrintable(text));
        QCOMPARE(*settings::singleValue(text), twips);
        QVERIFY(!settings::testedBelow(text, 0) || twips < 0);
    }
    // Beyond seven digits only seven significant digits are kept, and it still reads as a number.
    QCOMPARE(*settings::singleValue(settings::formatPosition(12345678.0f)), 12345680.0f);
}

// Settings files travel between machines: a German decimal comma must change nothing.
void TestNumbers::sameInEveryLocale()
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    const bool commaRefused = !settings::wholeNumber(QStringLiteral("2,5"));
    const std::optional<int16_t> half = settings::wholeNumber(QStringLiteral("2.5"));
    const QString written = settings::formatPosition(1230.5f);
    const double leading = settings::leadingNumber(QStringLiteral("1.5"));
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(saved);
    QVERIFY(commaRefused);
    QCOMPARE(*half, int16_t(2));
    QCOMPARE(written, QStringLiteral("1230.5"));
    QCOMPARE(leading, 1.5);
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
