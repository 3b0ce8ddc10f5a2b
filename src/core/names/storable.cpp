#include "storable.h"
#include "settings/cp932.h"

#include <QSet>
#include <QStringList>

#include <utility>

namespace names {

namespace {

// Well-known variants that code page 932 lacks, as people write them in names and shop names,
// with the form every Japanese font and file holds.
char32_t commonForm(char32_t c)
{
    static constexpr std::pair<char32_t, char32_t> kVariants[] = {
        {U'𠮷', U'吉'}, // つちよし: 𠮷田, 𠮷野家
        {U'𠮟', U'叱'}, {U'噓', U'嘘'}, {U'剝', U'剥'}, {U'頰', U'頬'}, {U'塡', U'填'},
        {U'鷗', U'鴎'}, {U'蔣', U'蒋'},
    };
    for (const auto &[variant, common] : kVariants) {
        if (c == variant)
            return common;
    }
    return 0;
}

bool encodable(QStringView text)
{
    for (QChar c : text) {
        if (!settings::cp932Encodable(c))
            return false;
    }
    return true;
}

// Marks that only change the look of the character before them, or join it to the next one.
bool isDroppedMark(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
        return true;
    default:
        return c >= 0x1F3FB && c <= 0x1F3FF; // skin tones
    }
}

// The letter without its marks: é → e, Ü → U; nothing when that leaves no storable text.
QString withoutMarks(const QString &character)
{
    QString base;
    for (QChar c : character.normalized(QString::NormalizationForm_D)) {
        if (!isDroppedMark(c.unicode()))
            base += c;
    }
    return !base.isEmpty() && encodable(base) ? base : QString();
}

QString replacementFor(char32_t c, bool keepUnreadable)
{
    if (c == QChar::ReplacementCharacter)
        return keepUnreadable ? QString(QChar(c)) : QString(QChar(kGeta));
    if (const char32_t common = commonForm(c))
        return QString::fromUcs4(&common, 1);
    if (isDroppedMark(c))
        return QString();
    const QString character = QString::fromUcs4(&c, 1);
    for (auto form : {QString::NormalizationForm_C, QString::NormalizationForm_KC}) {
        const QString normal = character.normalized(form);
        if (normal != character && encodable(normal))
            return normal;
    }
    if (const QString base = withoutMarks(character); !base.isEmpty())
        return base;
    return QString(QChar(kGeta));
}

} // namespace

QString storableForm(QStringView text, bool keepUnreadable)
{
    // Most texts are storable as they are.
    bool storable = true;
    for (QChar c : text) {
        if (!settings::cp932Encodable(c) && !(keepUnreadable && c == QChar::ReplacementCharacter)) {
            storable = false;
            break;
        }
    }
    if (storable)
        return text.toString();

    QString form;
    form.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        } else if (settings::cp932Encodable(text[i])) {
            form += text[i];
            continue;
        }
        form += replacementFor(c, keepUnreadable);
    }
    return form;
}

QList<Replacement> replacements(const QStringList &texts)
{
    QList<Replacement> changed;
    QSet<QString> named;
    for (const QString &text : texts) {
        const QString form = storableForm(text);
        if (form != text && !named.contains(text)) {
            named.insert(text);
            changed << Replacement{text, form};
        }
    }
    return changed;
}

QString replacementMessage(const QList<Replacement> &changed)
{
    if (changed.isEmpty())
        return {};
    QStringList lines{QStringLiteral("設定ファイルに保存できない文字を置き換えて入れました"
                                     "（〓は代わりの文字がないもの）。")};
    for (const Replacement &r : changed)
        lines << QStringLiteral("「%1」→「%2」").arg(r.before, r.after);
    return lines.join(u'\n');
}

} // namespace names
