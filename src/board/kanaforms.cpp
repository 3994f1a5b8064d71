#include "board/kanaforms.h"

#include <QStringView>
#include <algorithm>

namespace KanaForms {

namespace {

// A number read in kana (さんじゅうなな → 37); empty when the kana are not one.
QString kanaNumber(const QString &kana)
{
    struct Word
    {
        const char16_t *kana;
        int value; // a digit below 10, else a unit
    };
    static const Word Words[] = {
        {u"きゅう", 9},   {u"じゅう", 10}, {u"じゅっ", 10}, {u"ひゃく", 100}, {u"びゃく", 100},
        {u"ぴゃく", 100}, {u"いち", 1},    {u"いっ", 1},    {u"さん", 3},     {u"よん", 4},
        {u"ろく", 6},     {u"ろっ", 6},    {u"なな", 7},    {u"しち", 7},     {u"はち", 8},
        {u"はっ", 8},     {u"せん", 1000}, {u"ぜん", 1000}, {u"まん", 10000}, {u"ぜろ", 0},
        {u"れい", 0},     {u"に", 2},      {u"ご", 5},      {u"し", 4},
    };
    // Longer than any number a sentence holds; the sums below stay far from overflowing.
    if (kana.size() > 40)
        return {};
    long total = 0, section = 0, digit = -1;
    for (qsizetype i = 0; i < kana.size();) {
        const Word *found = nullptr;
        for (const Word &w : Words)
            if (QStringView(kana).mid(i).startsWith(QStringView(w.kana))) {
                found = &w;
                break;
            }
        if (!found)
            return {};
        i += QStringView(found->kana).size();
        if (found->value < 10) {
            if (digit >= 0)
                return {}; // two digits in a row are not one number
            digit = found->value;
        } else if (found->value == 10000) {
            total += (section + std::max(digit, 0L)) * 10000;
            section = 0;
            digit = -1;
        } else {
            section += (digit < 0 ? 1 : digit) * found->value;
            digit = -1;
        }
    }
    return QString::number(total + section + std::max(digit, 0L));
}

bool isNumeral(const QString &form)
{
    static const QString Numerals = QStringLiteral("〇一二三四五六七八九十百千万");
    for (const QChar c : form)
        if (!Numerals.contains(c) && !c.isDigit())
            return false;
    return !form.isEmpty();
}

} // namespace

bool isKana(QChar c)
{
    return (c >= u'ぁ' && c <= u'ゖ') || c == u'ー';
}

bool isKana(const QString &s)
{
    return std::all_of(s.cbegin(), s.cend(), [](QChar c) { return isKana(c); });
}

// Kanji numerals written in digits (三十七度 → 37度), as numbers are mostly written; empty when there are
// none.
QString withDigits(const QString &text)
{
    static const QString Digits = QStringLiteral("〇一二三四五六七八九");
    // A longer run of numerals (from any answer of the engine) is left as it is written.
    constexpr qint64 Largest = 1'000'000'000'000'000;
    QString out;
    bool changed = false;
    for (qsizetype i = 0; i < text.size();) {
        qint64 value = 0, current = 0;
        bool tooLarge = false;
        qsizetype j = i;
        for (; j < text.size(); ++j) {
            const qsizetype d = Digits.indexOf(text[j]);
            if (d >= 0)
                current = current * 10 + d;
            else if (text[j] == u'十' || text[j] == u'百')
                value += std::max<qint64>(current, 1) * (text[j] == u'十' ? 10 : 100), current = 0;
            else
                break;
            tooLarge = tooLarge || current >= Largest || value >= Largest;
            if (tooLarge)
                current = value = 0;
        }
        if (j == i) {
            out += text[i++];
            continue;
        }
        if (tooLarge) {
            out += QStringView(text).mid(i, j - i);
            i = j;
            continue;
        }
        out += QString::number(value + current);
        changed = true;
        i = j;
    }
    return changed ? out : QString();
}

// Forms no one writes in a Japanese sentence typed in kana: half-width kana,
// full-width digits, Latin letters, numerals in circles or Roman figures, pictures and signs.
bool isOddForm(const QString &f)
{
    for (const QChar c : f) {
        const char16_t u = c.unicode();
        if ((u >= 0xFF10 && u <= 0xFF9F) || (u >= 0x2160 && u <= 0x24FF) || c.isSurrogate() ||
            (u < 0x80 && c.isLetter()) || (u >= 0x2600 && u <= 0x27BF))
            return true;
    }
    return false;
}

bool hasKatakana(const QString &f)
{
    for (const QChar c : f)
        if (c >= u'ァ' && c <= u'ヺ')
            return true;
    return false;
}

// The written word before its kana ending (聞 of 聞いて, お風呂 of お風呂に); empty for kana.
QString stem(const QString &f)
{
    qsizetype i = 0;
    while (i < f.size() && isKana(f[i]))
        ++i;
    if (i == f.size())
        return {};
    while (i < f.size() && !isKana(f[i]))
        ++i;
    return f.left(i);
}

// The segments with each run of them that reads as a number, and that the engine wrote at least partly in
// numerals, turned into one segment in digits; empty when there is none.
std::vector<Segment> inDigits(const std::vector<Segment> &segments)
{
    std::vector<Segment> out;
    bool changed = false;
    for (size_t i = 0; i < segments.size();) {
        size_t end = i;
        QString number;
        QString reading;
        bool numeral = false;
        for (size_t j = i; j < segments.size(); ++j) {
            reading += segments[j].reading;
            numeral = numeral || isNumeral(segments[j].forms.value(0));
            if (const QString n = kanaNumber(reading); !n.isEmpty() && numeral) {
                number = n;
                end = j + 1;
            }
        }
        if (number.isEmpty()) {
            out.push_back(segments[i++]);
            continue;
        }
        reading.clear();
        for (size_t j = i; j < end; ++j)
            reading += segments[j].reading;
        out.push_back({reading, {number}});
        changed = true;
        i = end;
    }
    return changed ? out : std::vector<Segment>{};
}

} // namespace KanaForms
