#pragma once
// Text in code page 932 (Shift-JIS as Windows has it), whatever the system's own code page,
// converted by ICU under the name "windows-31j".

#include <QByteArray>
#include <QString>

namespace settings {

// Whether the converter is there and works; without it nothing may be written.
bool cp932Available();

// Bytes to text. A byte or byte pair that is no code page 932 character becomes one U+FFFD (a
// lead byte with an unfit second byte becomes U+FFFD alone, and the second byte is read anew).
// Bytes 0x00..0x7F are ASCII, NUL included.
QString decodeCp932(const QByteArray &bytes);

// The length of the bytes without a lead byte left unfinished at their end.
qsizetype cp932CompleteLength(QByteArrayView bytes);

// Text to bytes. Characters that code page 932 holds under another code point are written as
// that code point (U+301C WAVE DASH as 0x8160, for example); any other character it cannot
// hold is written as "?".
QByteArray encodeCp932(const QString &text);
// The same, appended to bytes that are being built.
void appendCp932(QByteArray &bytes, QStringView text);

// Whether one character is kept; a surrogate half and U+FFFD are not.
bool cp932Encodable(QChar c);

// A pasted or typed text as one stored line: line breaks (CR LF, CR, LF, U+0085, U+2028,
// U+2029) at its start or end are dropped, and each run of them inside becomes one space.
// When position is given, it is a cursor position in the text and is moved with it.
QString singleLine(const QString &text, int *position = nullptr);

} // namespace settings
