#pragma once
// Keeps what a name box, a prize box or the memo shows storable as one settings line.

#include <QValidator>

// Gives a typed, pasted or dropped text the form the settings file keeps (names::storableForm:
// 𠮷 → 吉, an emoji → 〓), so the box shows what will be saved, and says which text changed;
// turns line breaks into one line. U+FFFD is let through: it stands for bytes of the settings
// file that were no character, and the box keeps showing what the file held.
class StoredTextValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString &input, int &position) const override;

signals:
    // A text that had to change on its way in, and what it became.
    void replaced(const QString &before, const QString &after) const;
};
