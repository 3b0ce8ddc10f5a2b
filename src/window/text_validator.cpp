#include "text_validator.h"
#include "settings/cp932.h"

#include <algorithm>

bool storableText(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c == QChar::ReplacementCharacter || settings::cp932Encodable(c);
    });
}

QValidator::State StoredTextValidator::validate(QString &input, int &position) const
{
    input = settings::singleLine(input, &position);
    return storableText(input) ? Acceptable : Invalid;
}
