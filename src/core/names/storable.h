#pragma once
// One rule for text the settings file cannot hold, whichever way it came in (typed, pasted,
// dropped, read from a file): it is changed, before it goes into a box, into what the file will
// keep, and the user is told which texts changed, so a box never shows what is not saved.

#include <QList>
#include <QString>

namespace names {

// The mark for a character that cannot be set, as Japanese print and forms use it.
constexpr char16_t kGeta = u'\u3013';

// The text as code page 932 keeps it. A character it cannot hold becomes, in this order: its
// common form when it is a well-known variant (𠮷 → 吉), its canonical or compatibility form
// (a compatibility ideograph, a ligature), the letter without its accent (é → e); a mark that
// only joins or varies the character before it (a variation selector, a zero-width joiner, a
// skin tone) is dropped; anything else is 〓. U+FFFD, bytes that were no character, becomes 〓
// too, unless keepUnreadable: a box showing what the settings file held keeps showing it.
QString storableForm(QStringView text, bool keepUnreadable = false);

// A text that changed on its way into a box.
struct Replacement
{
    QString before;
    QString after;
};

// The texts of a list that storableForm changes, in order, each once.
QList<Replacement> replacements(const QStringList &texts);

// The one message that names each changed text and what it became; empty when none changed.
QString replacementMessage(const QList<Replacement> &changed);

} // namespace names
