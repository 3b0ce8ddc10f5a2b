#include "text_validator.h"
#include "settings/cp932.h"

QValidator::State StoredTextValidator::validate(QString &input, int &position) const
{
    input = settings::singleLine(input, &position);
    for (QChar c : input) {
        if (c != QChar::ReplacementCharacter && !settings::cp932Encodable(c))
            return Invalid;
    }
    return Acceptable;
}
