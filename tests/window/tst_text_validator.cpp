// What may enter a name box, a prize box or the memo: only text code page 932 holds, on one line;
// a character it cannot hold changes into what the file keeps (names::storableForm).
#include "text_validator.h"
#include "support/user_input.h"
#include "support/window.h"

class TestTextValidator : public QObject
{
    Q_OBJECT

private slots:
    void validate_data();
    void validate();
    void everyStoredBoxHasIt();
    void typingKeepsStorableText();
    void typedEmojiBecomesGeta();
    void inputMethodEmojiBecomesGeta();
    void typingLimitStillHolds();
    void pastedLineBreaksBecomeOneLine_data();
    void pastedLineBreaksBecomeOneLine();
    void pastedEmojiBecomesGeta();
    void memoReplacesEmojiAndJoinsLines();
    void programTextIsNotFiltered();

};

// Rows: input and cursor, then the verdict and the text and cursor it leaves.
void TestTextValidator::validate_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("acceptable");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("outputPosition");
    QTest::newRow("empty") << "" << 0 << true << "" << 0;
    QTest::newRow("name") << QStringLiteral("山田太郎") << 2 << true << QStringLiteral("山田太郎") << 2;
    QTest::newRow("wave dash stays as typed") << QStringLiteral("山田〜") << 3 << true << QStringLiteral("山田〜") << 3;
    QTest::newRow("half-width kana") << QStringLiteral("ﾀﾛｳ") << 3 << true << QStringLiteral("ﾀﾛｳ") << 3;
    QTest::newRow("emoji") << QStringLiteral("花子😀") << 4 << true << QStringLiteral("花子〓") << 3;
    QTest::newRow("emoji before the cursor's text") << QStringLiteral("😀花子") << 2 << true << QStringLiteral("〓花子") << 1;
    QTest::newRow("accented letter") << QStringLiteral("José") << 4 << true << QStringLiteral("Jose") << 4;
    QTest::newRow("hangul") << QStringLiteral("김") << 1 << true << QStringLiteral("〓") << 1;
    QTest::newRow("variant") << QStringLiteral("𠮷田") << 3 << true << QStringLiteral("吉田") << 2;
    QTest::newRow("line break") << "a\nb" << 3 << true << "a b" << 3;
    QTest::newRow("CR LF at the end") << "ab\r\n" << 4 << true << "ab" << 2;
    QTest::newRow("line break and emoji") << QStringLiteral("a\n😀") << 4 << true << QStringLiteral("a 〓") << 3;
    QTest::newRow("bytes the file held") << QString(QChar::ReplacementCharacter) << 1 << true
                                         << QString(QChar::ReplacementCharacter) << 1;
}

void TestTextValidator::validate()
{
    QFETCH(QString, input);
    QFETCH(int, position);
    QFETCH(bool, acceptable);
    QFETCH(QString, output);
    QFETCH(int, outputPosition);
    StoredTextValidator validator;
    QCOMPARE(validator.validate(input, position), acceptable ? QValidator::Acceptable : QValidator::Invalid);
    if (acceptable) {
        QCOMPARE(input, output);
        QCOMPARE(position, outputPosition);
    }
}

void TestTextValidator::everyStoredBoxHasIt()
{
    Window w;
    w.start();
    for (int i = 0; i < kBoxCount; ++i) {
        QVERIFY(qobject_cast<const StoredTextValidator *>(w.nameBox(i)->validator()));
        QVERIFY(qobject_cast<const StoredTextValidator *>(w.prizeBox(i)->validator()));
    }
    QVERIFY(qobject_cast<const StoredTextValidator *>(w.memo()->validator()));
}

void TestTextValidator::typingKeepsStorableText()
{
    Window w;
    w.start();
    QLineEdit *box = w.nameBox(0);
    typeText(box, QStringLiteral("山田〜太郎 A1"));
    QCOMPARE(box->text(), QStringLiteral("山田〜太郎 A1"));
}

void TestTextValidator::typedEmojiBecomesGeta()
{
    Window w;
    w.start();
    QLineEdit *box = w.nameBox(3);
    typeText(box, QStringLiteral("花子"));
    typeText(box, QStringLiteral("😀"));
    QCOMPARE(box->text(), QStringLiteral("花子〓"));
    // Each half of the pair on its own is no character a box takes.
    for (QChar half : QStringLiteral("😀")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(half));
        QApplication::sendEvent(box, &press);
    }
    QCOMPARE(box->text(), QStringLiteral("花子〓"));
    typeText(box, QStringLiteral("é"));
    QCOMPARE(box->text(), QStringLiteral("花子〓e"));
    QTest::keyClicks(box, QStringLiteral("1"));
    QCOMPARE(box->text(), QStringLiteral("花子〓e1"));
}

void TestTextValidator::inputMethodEmojiBecomesGeta()
{
    Window w;
    w.start();
    QLineEdit *box = w.prizeBox(5);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("一等"));
    QApplication::sendEvent(box, &commit);
    QCOMPARE(box->text(), QStringLiteral("一等"));
    QInputMethodEvent emoji;
    emoji.setCommitString(QStringLiteral("🎁"));
    QApplication::sendEvent(box, &emoji);
    QCOMPARE(box->text(), QStringLiteral("一等〓"));
    QInputMethodEvent dash;
    dash.setCommitString(QStringLiteral("〜"));
    QApplication::sendEvent(box, &dash);
    QCOMPARE(box->text(), QStringLiteral("一等〓〜"));
}

void TestTextValidator::typingLimitStillHolds()
{
    Window w;
    w.start();
    QLineEdit *box = w.nameBox(0);
    typeText(box, QStringLiteral("あいうえおかきくけこさしすせそ"));
    QCOMPARE(box->text(), QStringLiteral("あいうえおかきくけこさし"));
    box->clear();
    pasteText(box, QStringLiteral("あいうえおか\nきくけこさしすせそ"));
    QCOMPARE(box->text(), QStringLiteral("あいうえおか きくけこさ"));
}

// Rows: the box text, the cursor, what is pasted, and the result with its cursor.
void TestTextValidator::pastedLineBreaksBecomeOneLine_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("afterCursor");
    QTest::newRow("LF") << "" << 0 << "ab\ncd" << "ab cd" << 5;
    QTest::newRow("CR LF") << "" << 0 << "ab\r\ncd" << "ab cd" << 5;
    QTest::newRow("CR") << "" << 0 << "ab\rcd" << "ab cd" << 5;
    QTest::newRow("line end of a copied line") << "" << 0 << QStringLiteral("山田\r\n") << QStringLiteral("山田") << 2;
    QTest::newRow("into the middle") << QStringLiteral("山田") << 1 << "x\ny" << QStringLiteral("山x y田") << 4;
    QTest::newRow("paragraph separator") << "" << 0 << QStringLiteral("a\u2029b") << "a b" << 3;
}

void TestTextValidator::pastedLineBreaksBecomeOneLine()
{
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, pasted);
    QFETCH(QString, after);
    QFETCH(int, afterCursor);
    Window w;
    w.start();
    QLineEdit *box = w.nameBox(1);
    typeText(box, before);
    box->setCursorPosition(cursor);
    pasteText(box, pasted);
    QCOMPARE(box->text(), after);
    QCOMPARE(box->cursorPosition(), afterCursor);
}

void TestTextValidator::pastedEmojiBecomesGeta()
{
    Window w;
    w.start();
    QLineEdit *box = w.nameBox(2);
    typeText(box, QStringLiteral("太郎"));
    pasteText(box, QStringLiteral("さん👍"));
    QCOMPARE(box->text(), QStringLiteral("太郎さん〓"));
    box->selectAll();
    pasteText(box, QStringLiteral("👍"));
    QCOMPARE(box->text(), QStringLiteral("〓"));
}

void TestTextValidator::memoReplacesEmojiAndJoinsLines()
{
    Window w;
    w.start();
    QLineEdit *memo = w.memo();
    typeText(memo, QStringLiteral("忘年会"));
    typeText(memo, QStringLiteral("🍻"));
    QCOMPARE(memo->text(), QStringLiteral("忘年会〓"));
    pasteText(memo, QStringLiteral("\n二次会\n"));
    QCOMPARE(memo->text(), QStringLiteral("忘年会〓 二次会"));
    QTRY_COMPARE(w.messages().size(), 1);
}

// Text the program puts into a box, here bytes of the file that are no character, is shown as given.
void TestTextValidator::programTextIsNotFiltered()
{
    Window w;
    QVERIFY(w.writeFile(fileBytes(fixture("set_up_bad_bytes.ini"))));
    w.start();
    const QChar bad = QChar::ReplacementCharacter;
    const QString fromFile = bad + QStringLiteral("山") + QChar(0) + QStringLiteral("田") + bad;
    QCOMPARE(w.nameBox(0)->text(), fromFile);
    typeText(w.nameBox(0), QStringLiteral("😀"));
    QCOMPARE(w.nameBox(0)->text(), QStringLiteral("〓") + fromFile);
}

QTEST_MAIN(TestTextValidator)
#include "tst_text_validator.moc"
