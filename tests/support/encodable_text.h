#pragma once
// Whether the settings file keeps every character of a text, one character at a time as the
// boxes check them.

#include "settings/cp932.h"

#include <QString>

#include <algorithm>

inline bool encodableText(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return settings::cp932Encodable(c); });
}
