#include "board/boardpages.h"

#include "board/modifiers.h"

namespace BoardPages {

namespace {

// Kana rows from the あ row leftwards; each string is one column, rows 0..4.
// The last five exist only on the fifteen-column board.
const char16_t *const HiraganaColumns[] = {
    u"あいうえお", u"かきくけこ", u"さしすせそ", u"たちつてと", u"なにぬねの",
    u"はひふへほ", u"まみむめも", u"やゆよー？", u"らりるれろ", u"わをん。、",
    u"がぎぐげご", u"ざじずぜぞ", u"だぢづでど", u"ばびぶべぼ", u"ぱぴぷぺぽ",
};

const char16_t *const KatakanaColumns[] = {
    u"アイウエオ", u"カキクケコ", u"サシスセソ", u"タチツテト", u"ナニヌネノ",
    u"ハヒフヘホ", u"マミムメモ", u"ヤユヨー？", u"ラリルレロ", u"ワヲン。、",
    u"ガギグゲゴ", u"ザジズゼゾ", u"ダヂヅデド", u"バビブベボ", u"パピプペポ",
};

const char *const AlphanumericRows[5][10] = {
    {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"},
    {"Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P"},
    {"A", "S", "D", "F", "G", "H", "J", "K", "L", ";"},
    {"/", "Z", "X", "C", "V", "B", "N", "M", ",", "."},
    {":", "%", "+", "-", "?", "@", "。", "!", "(^_^)", "(T_T)"},
};

} // namespace

CharSet nextSet(CharSet set)
{
    switch (set) {
    case CharSet::Alphanumeric:
        return CharSet::Hiragana;
    case CharSet::Hiragana:
        return CharSet::Katakana;
    default:
        return CharSet::Alphanumeric;
    }
}

CharSet nextSet(const QString &caption)
{
    const QString c = caption.trimmed();
    if (c == AlphanumericCaption)
        return CharSet::Hiragana;
    if (c == HiraganaCaption)
        return CharSet::Katakana;
    return CharSet::Alphanumeric;
}

QString captionOf(CharSet set)
{
    switch (set) {
    case CharSet::Hiragana:
        return HiraganaCaption;
    case CharSet::Katakana:
        return KatakanaCaption;
    case CharSet::Alphanumeric:
        break;
    }
    return AlphanumericCaption;
}

QString cell(CharSet set, int gMaxC, int row, int col)
{
    if (row < 0 || row >= Rows || col < 0 || col > gMaxC)
        return {};
    if (set == CharSet::Alphanumeric)
        return col < 10 ? QString::fromUtf8(AlphanumericRows[row][col]) : QString();
    const int kanaRow = gMaxC - col;
    const int kanaRows = gMaxC == 14 ? 15 : 10;
    if (kanaRow < 0 || kanaRow >= kanaRows)
        return {};
    const char16_t *column = (set == CharSet::Hiragana ? HiraganaColumns : KatakanaColumns)[kanaRow];
    return QString(QChar(column[row]));
}

QStringList everyCharacter()
{
    QStringList all;
    auto add = [&all](const QString &s) {
        if (!s.isEmpty() && !all.contains(s))
            all << s;
    };
    // The page a start shows comes first, then the forms its selection screens offer, then the rest.
    for (CharSet set : {CharSet::Hiragana, CharSet::Katakana, CharSet::Alphanumeric}) {
        for (int c = 0; c <= 14; ++c)
            for (int r = 0; r < Rows; ++r)
                add(cell(set, 14, r, c));
        for (int c = 0; c <= 14; ++c) {
            for (int r = 0; r < Rows; ++r) {
                const QString ch = cell(set, 14, r, c);
                add(Modifiers::smallForm(ch));
                add(Modifiers::voicing(ch).left);
                add(Modifiers::voicing(ch).right);
            }
        }
    }
    return all;
}

int columnWidth(int gMaxC)
{
    return gMaxC == 14 ? 1013 : 1530;
}

} // namespace BoardPages
