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

// A name's marks as letters: b beyond the boxes, d duplicate, u unstorable.
QString letters(const NameMarks &marks)
{
    return QString(marks.beyondBoxes ? "b" : "") + (marks.duplicate ? "d" : "") + (marks.unstorable ? "u" : "");
}

} // namespace

class TestNameList : public QObject
{
    Q_OBJECT

private slots:
    // Rows: the bytes of a file, and the names read from it (through the file, as the window reads it).
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
        QTest::newRow("cells separated by tabs") << QStringLiteral("氏名\tかな\n 山田 \tやまだ\n\tなし\n　佐藤　\tさとう\n").toUtf8()
                                                 << QStringList{QStringLiteral("山田"), QStringLiteral("佐藤")};
        QTest::newRow("blank rows, then the heading") << QByteArray("\r\n \r\nNAME\r\n\r\nTaro\r\n,x\r\n\r\nHanako\r\n\r\n")
                                                      << QStringList{"Taro", "Hanako"};
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
        QCOMPARE(read.error.isEmpty(), !names.isEmpty());
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
                                                << QStringList{QStringLiteral("山田"), QStringLiteral("佐藤"), QStringLiteral("鈴木")};
        QTest::newRow("commas stay in a name") << "Yamada, Taro\n" << QStringList{"Yamada, Taro"};
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
            << QStringList{"u", "u", "", "u"};
        QTest::newRow("past the 37th") << numbered(37) + QStringList{QStringLiteral("人1"), QStringLiteral("人99")}
                                       << QStringList(37, QString()) + QStringList{"bd", "b"};
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
