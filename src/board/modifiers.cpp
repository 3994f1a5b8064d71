#include "board/modifiers.h"

namespace Modifiers {

namespace {

// Base characters and their forms, position by position.
struct Row
{
    const char16_t *base;
    const char16_t *forms;
};

const Row SmallRows[] = {
    {u"あいうえお", u"ぁぃぅぇぉ"}, {u"つ", u"っ"}, {u"やゆよ", u"ゃゅょ"},
    {u"アイウエオ", u"ァィゥェォ"}, {u"ツ", u"ッ"}, {u"ヤユヨ", u"ャュョ"},
};

const Row VoicedRows[] = {
    {u"かきくけこ", u"がぎぐげご"}, {u"さしすせそ", u"ざじずぜぞ"}, {u"たちつてと", u"だぢづでど"},
    {u"はひふへほ", u"ばびぶべぼ"}, {u"カキクケコ", u"ガギグゲゴ"}, {u"サシスセソ", u"ザジズゼゾ"},
    {u"タチツテト", u"ダヂヅデド"}, {u"ハヒフヘホ", u"バビブベボ"},
};

const Row LeftRows[] = {
    {u"はひふへほ", u"ぱぴぷぺぽ"}, {u"ハヒフヘホ", u"パピプペポ"}, {u"つ", u"っ"}, {u"ツ", u"ッ"}};

template <size_t N> QString lookUp(const Row (&rows)[N], const QString &ch)
{
    if (ch.size() != 1)
        return {};
    for (const Row &row : rows) {
        const QString base = QString::fromUtf16(row.base);
        const qsizetype at = base.indexOf(ch.front());
        if (at >= 0)
            return QString(QChar(row.forms[at]));
    }
    return {};
}

} // namespace

QString smallForm(const QString &ch)
{
    if (ch.size() == 1 && ch.front() >= QLatin1Char('A') && ch.front() <= QLatin1Char('Z'))
        return ch.toLower();
    return lookUp(SmallRows, ch);
}

Voicing voicing(const QString &ch)
{
    return {lookUp(LeftRows, ch), lookUp(VoicedRows, ch)};
}

} // namespace Modifiers
