#pragma once
// Keeps what a name box, a prize box or the memo shows storable as one settings line.

#include <QValidator>

// Refuses a text with a character that code page 932 cannot hold (an emoji, for example), so the
// file keeps what the box shows, and turns line breaks in typed or pasted text into one line.
// U+FFFD is let through: it stands for bytes of the settings file that were no character, and
// refusing it would leave a box that shows one unguarded (a box that starts out refused lets any
// edit through).
// Whether every character of the text is one the settings file can hold (U+FFFD let through, as
// the validator below lets it through).
bool storableText(const QString &text);

class StoredTextValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString &input, int &position) const override;
};
