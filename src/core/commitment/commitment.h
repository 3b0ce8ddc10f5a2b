#pragma once
// The code shown at standby that lets anyone check afterwards that the results were fixed then.
// Standby writes the lottery as a canonical text (UTF-8, LF line ends, every line ending in LF):
//
//   amidakuji-commitment 1
//   memo<TAB>the group memo
//   mode<TAB>winner | lottery | number
//   round<TAB>1
//   fixed-at<TAB>2026-12-07T13:44:05+09:00
//   participant<TAB>name<TAB>result          (one line each, in name-box order)
//   nonce<TAB>32 lowercase hexadecimal digits
//
// A backslash, tab, line feed or carriage return inside a text is written \\, \t, \n, \r. The
// SHA-256 of exactly these bytes is the commitment; its first 8 hexadecimal digits are the code
// the room sees. The nonce is secret until the last path is traced, so the code alone tells
// nothing about the results.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace commitment {

// The format's first line; another version is refused by the reader.
inline constexpr char kFirstLine[] = "amidakuji-commitment 1";
inline constexpr int kNonceBytes = 16;

struct Row
{
    QString name;
    // What the participant's path leads to, as the copied result names it ("はずれ" included).
    QString result;
    friend bool operator==(const Row &, const Row &) = default;
};

// The lottery as standby fixed it.
struct Content
{
    QString memo;
    // 0 winner, 1 lottery, 2 number.
    int16_t mode = 0;
    int round = 1;
    // Whole seconds, with the offset from UTC it was taken in.
    QDateTime fixedAt;
    QList<Row> rows;
    QByteArray nonce;
};

// The canonical text of a lottery.
QByteArray canonicalText(const Content &content);
// The SHA-256 of bytes as 64 lowercase hexadecimal digits.
QByteArray sha256Hex(const QByteArray &bytes);
// The code a room reads: the hash's first 8 digits as "1a2b-3c4d".
QString shortCode(const QByteArray &hashHex);
// "winner", "lottery", "number"; empty for a value that is no mode.
QByteArray modeWord(int mode);
// The time as the text writes it: ISO 8601 to the second with its offset ("+09:00").
QByteArray timeText(const QDateTime &time);

// A lottery's commitment: the text kept in memory, and its hash.
struct Commitment
{
    QByteArray text;
    QByteArray hash;
    QByteArray nonceHex;
    QDateTime fixedAt;
    QString code() const { return shortCode(hash); }
};
Commitment commit(const Content &content);

// A text read back: its content, or the first fault with its line (1-based; 0 for the file as a
// whole) and a message in Japanese.
struct Reading
{
    std::optional<Content> content;
    int line = 0;
    QString error;
};
Reading readText(const QByteArray &bytes);

// The first line (1-based) where two texts differ, 0 when they are equal.
int firstDifferentLine(const QByteArray &a, const QByteArray &b);

} // namespace commitment
