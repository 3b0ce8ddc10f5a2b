// What a text becomes on its way into a box when the settings file cannot hold a character of
// it, and the one message that names what changed.
#include "names/storable.h"
#include "settings/cp932.h"
#include "support/encodable_text.h"

#include <QtTest>

using namespace names;

class TestStorable : public QObject
{
    Q_OBJECT

private slots:
    // Rows: a text, and what the settings file will keep of it.
    void storable_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::newRow("storable as it is") << QStringLiteral("山田 髙橋①〜") << QStringLiteral("山田 髙橋①〜");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("a well-known variant") << QStringLiteral("𠮷野家") << QStringLiteral("吉野家");
        QTest::newRow("variant at the end") << QStringLiteral("田中𠮟") << QStringLiteral("田中叱");
        QTest::newRow("emoji") << QStringLiteral("🎉パーティー") << QStringLiteral("〓パーティー");
        QTest::newRow("hangul, one mark each") << QStringLiteral("한국어") << QStringLiteral("〓〓〓");
        QTest::newRow("accented letter") << QStringLiteral("Café") << QStringLiteral("Cafe");
        QTest::newRow("accent as a combining mark") << QStringLiteral("Cafe\u0301") << QStringLiteral("Cafe");
        QTest::newRow("umlaut in capitals") << QStringLiteral("MÜLLER") << QStringLiteral("MULLER");
        QTest::newRow("compatibility ideograph") << QStringLiteral("\uF900") << QStringLiteral("\u8C48");
        QTest::newRow("ligature") << QStringLiteral("\uFB01ne") << QStringLiteral("fine");
        QTest::newRow("emoji with its variation selector") << QStringLiteral("\u2764\uFE0F") << QStringLiteral("〓");
        QTest::newRow("emoji with a skin tone") << QStringLiteral("👍🏽") << QStringLiteral("〓");
        QTest::newRow("joined emoji") << QStringLiteral("👨\u200D👩") << QStringLiteral("〓〓");
        QTest::newRow("ideographic variation selector") << QStringLiteral("葛\U000E0100城") << QStringLiteral("葛城");
        QTest::newRow("bytes no character") << QStringLiteral("a\uFFFDb") << QStringLiteral("a〓b");
        QTest::newRow("a lone surrogate half") << QString(QChar(0xD842)) << QStringLiteral("〓");
    }

    void storable()
    {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QCOMPARE(storableForm(text), stored);
        // What it becomes is saved as shown: every character has its bytes, none is written "?".
        QVERIFY(encodableText(stored));
        QVERIFY(!settings::encodeCp932(stored).contains('?'));
    }

    // What the settings file held as no character stays as the box shows it, for the boxes.
    void unreadableKept()
    {
        QCOMPARE(storableForm(QStringLiteral("a\uFFFD😀"), true), QStringLiteral("a\uFFFD〓"));
    }

    void message()
    {
        const QList<Replacement> changed = replacements(
            {QStringLiteral("山田"), QStringLiteral("𠮷田"), QStringLiteral("🎉"), QStringLiteral("𠮷田")});
        QCOMPARE(changed.size(), 2);
        QCOMPARE(changed[0].after, QStringLiteral("吉田"));
        const QStringList lines = replacementMessage(changed).split(u'\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.mid(1), (QStringList{QStringLiteral("「𠮷田」→「吉田」"), QStringLiteral("「🎉」→「〓」")}));
        QVERIFY(replacementMessage({}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestStorable)
#include "tst_storable.moc"
