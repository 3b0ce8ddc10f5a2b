#include "text_validator.h"
#include "names/storable.h"
#include "settings/cp932.h"

QValidator::State StoredTextValidator::validate(QString &input, int &position) const
{
    input = settings::singleLine(input, &position);
    const QString stored = names::storableForm(input, true);
    if (stored != input) {
        // The cursor keeps its distance from the end, where typing and pasting leave it.
        const int fromEnd = int(input.size()) - position;
        emit replaced(input, stored);
        position = qBound(0, int(stored.size()) - fromEnd, int(stored.size()));
        input = stored;
    }
    return Acceptable;
}
