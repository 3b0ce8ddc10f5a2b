// Lists of names from files of every encoding and shape people bring, pasted names, and the
// marks the preview shows.
#include "names/name_list.h"
#include "settings/cp932.h"
#include "support/file_bytes.h"

#include <QtTest>

using namespace names;

namespace {

QByteArray withBom(const QString &text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

QStringList numbered(int count)
{
    QStringList list;
    for (int k = 1; k <= count; ++k)
        list << QStringLiteral("人%1").arg(k);
    return list;
}

// A name's marks as letters: b beyond the boxes, d duplicate, u unstorable, g garbled, e empty.
QString letters(const NameMarks &marks)
{
    return QString(marks.beyondBoxes ? "b" : "") + (marks.duplicate ? "d" : "") + (marks.unstorable ? "u" : "")
        + (marks.garbled ? "g" : "") + (marks.empty ? "e" : "");
}

} // namespace

class TestNameList : public QObject
{
    Q_OBJECT

private slots:
    // Rows: the bytes of a CSV file, and the names read from it (through the file, as the window
    // reads it).
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("UTF-8 with byte-order mark") << "\xEF\xBB\xBF" + QStringLiteral("山田太郎\r\n佐藤 花子\r\n").toUtf8()
                                                    << QStringList{QStringLiteral("山田太郎"), QStringLiteral("佐藤 花子")};
        QTest::newRow("UTF-8 without a mark") << QStringLiteral("名前\n山田太郎\n髙橋 一郎\n").toUtf8()
                                              << QStringList{QStringLiteral("山田太郎"), QStringLiteral("髙橋 一郎")};
        QTest::newRow("UTF-16LE") << withBom(QStringLiteral("Name,Furigana\r\n山田,やまだ\r\n佐藤,さとう\r\n"), QStringConverter::Utf16LE)
                                  << QStringList{QStringLiteral("山田"), QStringLiteral("佐藤")};
        QTest::newRow("UTF-16BE") << withBom(QStringLiteral("鈴木\r\n田中"), QStringConverter::Utf16BE)
                                  << QStringList{QStringLiteral("鈴木"), QStringLiteral("田中")};
        QTest::newRow("code page 932 CSV from Excel")
            << settings::encodeCp932(QStringLiteral("氏名,ふりがな,備考\r\n"
                                                    "\"山田, 太郎\",やまだ,\"愛称は\"\"タロ\"\"\"\r\n"
                                                    "\"佐藤\r\n花子\",さとう,\r\n"
                                                    "\"高橋 \"\"ハム\"\" 次郎\",たかはし,\"一行目,\r\n二行目\"\r\n"
                                                    "鈴木,すずき,\r\n"))
            << QStringList{QStringLiteral("山田, 太郎"), QStringLiteral("佐藤 花子"), QStringLiteral("高橋 \"ハム\" 次郎"),
                           QStringLiteral("鈴木")};
        // A row with text but no name keeps its place, so the preview shows it.
        QTest::newRow("cells separated by tabs") << QStringLiteral("氏名\tかな\n 山田 \tやまだ\n\tなし\n　佐藤　\tさとう\n").toUtf8()
                                                 << QStringList{QStringLiteral("山田"), QString(), QStringLiteral("佐藤")};
        QTest::newRow("blank rows, then the heading") << QByteArray("\r\n \r\nNAME\r\n\r\nTaro\r\n,x\r\n\r\nHanako\r\n\r\n")
                                                      << QStringList{"Taro", QString(), "Hanako"};
        QTest::newRow("CR line ends") << QByteArray("Taro\rHanako\rJiro") << QStringList{"Taro", "Hanako", "Jiro"};
        QTest::newRow("more than 37 names are all read") << numbered(40).join("\r\n").toUtf8() << numbered(40);
        QTest::newRow("duplicates are kept") << QByteArray("Taro\nHanako\nTaro\n") << QStringList{"Taro", "Hanako", "Taro"};
        QTest::newRow("heading words further down are names") << QStringLiteral("山田\n名前\nName\n").toUtf8()
                                                              << QStringList{QStringLiteral("山田"), QStringLiteral("名前"), "Name"};
        QTest::newRow("Excel CSV with a second column") << settings::encodeCp932(QStringLiteral("氏名,席\r\n山田,1\r\n佐藤,2\r\n"))
                                                        << QStringList{QStringLiteral("山田"), QStringLiteral("佐藤")};
        // A file of up to 1 MiB is read whole; a larger one not at all.
        const QByteArray atLimit = QByteArray("a\n").repeated(kMaxNameListBytes / 2);
        QTest::newRow("1 MiB of names") << atLimit << QStringList(kMaxNameListBytes / 2, QStringLiteral("a"));
        // Bytes that give no list: no names, and a reason instead.
        const QStringList none;
        QTest::newRow("a heading only") << settings::encodeCp932(QStringLiteral("氏名\r\n")) << none;
        QTest::newRow("empty") << QByteArray() << none;
        QTest::newRow("a workbook, not its CSV") << QByteArray("PK\x03\x04\x14\0\x06\0\x08\0\0\0!\0[Content_Types].xml", 33) << none;
        QTest::newRow("control characters") << QByteArray("\x01\x02\x03\x1B\x7F\x05\x06\x0E\x0F a\r\n") << none;
        QTest::newRow("bytes no encoding reads") << QByteArray("\x80\xA0\xFD\xFE\xFF\x80\xA0\xFD a\r\n") << none;
        QTest::newRow("one byte over 1 MiB") << atLimit + "b" << none;
    }

    void read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, names);
        QTemporaryDir dir;
        const QString path = dir.filePath("names.csv");
        QVERIFY(writeBytes(path, bytes));
        const NameListRead read = readNameListFile(path);
        QCOMPARE(read.names, names);
        QCOMPARE(read.lines.size(), names.size());
        QCOMPARE(read.error.isEmpty(), !names.isEmpty());
    }

    // Rows: a file's name and text; the names column's cells read from it with the line each row
    // starts on.
    void cells_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<int>>("lines");
        QTest::newRow("names heading in the second column") << "a.csv" << QStringLiteral("番号,氏名\n1,山田太郎\n2,佐藤花子\n")
                                                           << QStringList{QStringLiteral("山田太郎"), QStringLiteral("佐藤花子")}
                                                           << QList<int>{2, 3};
        QTest::newRow("numbers first, no heading") << "a.csv" << QStringLiteral("1,山田\n2,佐藤\n10,鈴木\n")
                                                   << QStringList{QStringLiteral("山田"), QStringLiteral("佐藤"), QStringLiteral("鈴木")}
                                                   << QList<int>{1, 2, 3};
        QTest::newRow("full-width and decimal numbers") << "a.tsv" << QStringLiteral("１\t山田\n2.5\t佐藤\n")
                                                        << QStringList{QStringLiteral("山田"), QStringLiteral("佐藤")} << QList<int>{1, 2};
        QTest::newRow("a text column with a number in it") << "a.csv" << QStringLiteral("1,x\n2,3\n")
                                                           << QStringList{"x", "3"} << QList<int>{1, 2};
        QTest::newRow("all numbers: the first column") << "a.csv" << QStringLiteral("1,5\n2,6\n") << QStringList{"1", "2"} << QList<int>{1, 2};
        QTest::newRow("commas in a .txt are in the name") << "a.txt" << QStringLiteral("Doe, John\nRoe, Jane\n")
                                                          << QStringList{"Doe, John", "Roe, Jane"} << QList<int>{1, 2};
        QTest::newRow("a .tsv is tab-separated") << "a.tsv" << QStringLiteral("名前\tかな\n山田, 太郎\tやまだ\n")
                                                 << QStringList{QStringLiteral("山田, 太郎")} << QList<int>{2};
        QTest::newRow("tabs around a name") << "a.txt" << QStringLiteral("\t佐藤\t\n山田\n")
                                            << QStringList{QStringLiteral("佐藤"), QStringLiteral("山田")} << QList<int>{1, 2};
        QTest::newRow("blank names cells in a table") << "a.txt" << QStringLiteral("山田\t1\n\t2\n鈴木\t3\n")
                                                      << QStringList{QStringLiteral("山田"), QString(), QStringLiteral("鈴木")}
                                                      << QList<int>{1, 2, 3};
        QTest::newRow("line numbers past blank lines and quoted breaks")
            << "a.csv" << QStringLiteral("氏名\r\n\r\n\"佐藤\r\n花子\",x\r\n\r\n鈴木\r\n")
            << QStringList{QStringLiteral("佐藤 花子"), QStringLiteral("鈴木")} << QList<int>{3, 6};
        QTest::newRow("a quoted tab is no separator") << "a.txt" << QStringLiteral("\"山田\t太郎\"\t1\n")
                                                      << QStringList{QStringLiteral("山田 太郎")} << QList<int>{1};
    }

    void cells()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        QFETCH(QList<int>, lines);
        QTemporaryDir dir;
        const QString path = dir.filePath(fileName);
        QVERIFY(writeBytes(path, text.toUtf8()));
        const NameListRead read = readNameListFile(path);
        QCOMPARE(read.names, names);
        QCOMPARE(read.lines, lines);
        for (const QString &name : read.names)
            QVERIFY(!name.contains(u'\t'));
    }

    // Neither a missing file nor a folder gives a list; both give a reason.
    void notAFile()
    {
        QTemporaryDir dir;
        for (const QString &path : {dir.filePath("names.csv"), dir.path()}) {
            const NameListRead read = readNameListFile(path);
            QVERIFY2(read.names.isEmpty() && !read.error.isEmpty(), qPrintable(path));
        }
    }

    void pasted_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("a column") << QStringLiteral("山田\r\n佐藤\r\n") << QStringList{QStringLiteral("山田"), QStringLiteral("佐藤")};
        QTest::newRow("rows: their first cells") << "Taro\t1\t2\nHanako\t3" << QStringList{"Taro", "Hanako"};
        QTest::newRow("blank lines and spaces") << QStringLiteral("  山田 \n\n\t備考\n　佐藤　\r鈴木\n")
                                                << QStringList{QStringLiteral("山田"), QStringLiteral("備考"), QStringLiteral("佐藤"),
                                                               QStringLiteral("鈴木")};
        QTest::newRow("commas stay in a name") << "Yamada, Taro\n" << QStringList{"Yamada, Taro"};
        QTest::newRow("a tab before the second name") << QStringLiteral("佐藤\n\t山田\n鈴木")
                                                      << QStringList{QStringLiteral("佐藤"), QStringLiteral("山田"), QStringLiteral("鈴木")};
        QTest::newRow("tabs before the first two") << QStringLiteral("\t佐藤\n\t山田\n鈴木")
                                                   << QStringList{QStringLiteral("佐藤"), QStringLiteral("山田"), QStringLiteral("鈴木")};
        QTest::newRow("blank first cells of a spreadsheet copy") << QStringLiteral("1\t山田\n\t佐藤\n3\t鈴木\n")
                                                                 << QStringList{QStringLiteral("山田"), QStringLiteral("佐藤"), QStringLiteral("鈴木")};
    }

    void pasted()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        QCOMPARE(pastedNames(text), names);
    }

    void marks_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("marks");
        QTest::newRow("none") << QStringList() << QStringList();
        QTest::newRow("duplicates after the first") << QStringList{"Taro", "Hanako", "Taro", "Taro"} << QStringList{"", "", "d", "d"};
        QTest::newRow("characters code page 932 cannot hold")
            << QStringList{QStringLiteral("花子😀"), QStringLiteral("한"), QStringLiteral("①髙〜"), QStringLiteral("a\uFFFD")}
            << QStringList{"u", "u", "", "ug"};
        QTest::newRow("empty names are no duplicates") << QStringList{"", "Taro", ""} << QStringList{"e", "", "e"};
        QTest::newRow("past the 37th") << numbered(37) + QStringList{QStringLiteral("人1"), QStringLiteral("人99")}
                                       << QStringList(37, QString()) + QStringList{"bd", "b"};
    }

    // Rows: a name, the encoding it was read with, and whether it looks garbled.
    void garbled_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<bool>("garbled");
        const int cp932 = int(TextEncoding::Cp932);
        const int utf8 = int(TextEncoding::Utf8);
        QTest::newRow("Latin-1 read as code page 932") << QStringLiteral("Fran輟is") << cp932 << true;
        QTest::newRow("Latin-1 capital read as half-width kana") << QStringLiteral("Jﾄrg") << cp932 << true;
        QTest::newRow("replacement character") << QStringLiteral("M\uFFFDler") << cp932 << true;
        QTest::newRow("kanji after a letter only") << QStringLiteral("A班 山田") << cp932 << false;
        QTest::newRow("kanji between letters and a blank") << QStringLiteral("Taro 山田") << cp932 << false;
        QTest::newRow("half-width kana name") << QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ") << cp932 << false;
        QTest::newRow("the same in UTF-8") << QStringLiteral("Fran輟is") << utf8 << false;
        QTest::newRow("UTF-8 read as Latin-1 once") << QStringLiteral("CafÃ©") << utf8 << true;
        QTest::newRow("Ã on its own") << QStringLiteral("SÃO") << utf8 << false;
        QTest::newRow("a control character") << QStringLiteral("a\u0007b") << utf8 << true;
    }

    void garbled()
    {
        QFETCH(QString, name);
        QFETCH(int, encoding);
        QFETCH(bool, garbled);
        QCOMPARE(looksGarbled(name, TextEncoding(encoding)), garbled);
    }

    // A Latin-1 file is read as code page 932 (it is no UTF-8), and its names are marked.
    void latin1FileIsMarked()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("names.txt");
        QVERIFY(writeBytes(path, QByteArray("M\xFCller\nFran\xE7ois\nAnna\n")));
        const NameListRead read = readNameListFile(path);
        QCOMPARE(read.encoding, TextEncoding::Cp932);
        QStringList got;
        for (const NameMarks &m : markNames(read.names, read.encoding))
            got << letters(m);
        QCOMPARE(got, (QStringList{"ug", "g", ""}));
    }

    // Rows: a file's bytes, the encoding it is read with and its names' garbled marks.
    void encodingRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QList<bool>>("garbled");
        const QByteArray utf8 = QStringLiteral("山田\n佐藤\n鈴木\n高橋\n").toUtf8();
        QTest::newRow("UTF-8 with one Latin-1 name") << utf8 + "Fran\xE7ois\n" << int(TextEncoding::Utf8)
                                                     << QList<bool>{false, false, false, false, true};
        QTest::newRow("code page 932 as Excel writes it")
            << settings::encodeCp932(QStringLiteral("山田\n佐藤\n")) << int(TextEncoding::Cp932) << QList<bool>{false, false};
        QTest::newRow("Latin-1 alone") << QByteArray("Fran\xE7ois\nAnna\n") << int(TextEncoding::Cp932) << QList<bool>{true, false};
    }

    void encodingRead()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, encoding);
        QFETCH(QList<bool>, garbled);
        const NameListRead read = readNameList(bytes, ListFormat::TabSeparated);
        QCOMPARE(int(read.encoding), encoding);
        QList<bool> marked;
        for (const NameMarks &m : markNames(read.names, read.encoding))
            marked << m.garbled;
        QCOMPARE(marked, garbled);
    }

    void marks()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, marks);
        QStringList got;
        for (const NameMarks &m : markNames(names))
            got << letters(m);
        QCOMPARE(got, marks);
    }
};

QTEST_GUILESS_MAIN(TestNameList)
#include "tst_name_list.moc"
