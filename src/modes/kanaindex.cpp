#include "modes/kanaindex.h"

#include <iterator>
#include <vector>

namespace KanaIndex {

namespace {

struct Range
{
    const char16_t *head;
    char16_t first;
    char16_t last;
};

// Tested in this order: an earlier row takes every character its range holds,
// so only ご, ぞ, ど, ぼ and ぽ reach the voiced rows.
const Range Table[] = {
    {u"あ行", u'あ', u'お'}, {u"か行", u'か', u'こ'}, {u"さ行", u'さ', u'そ'}, {u"た行", u'た', u'と'},
    {u"な行", u'な', u'の'}, {u"は行", u'は', u'ほ'}, {u"ま行", u'ま', u'も'}, {u"や行", u'や', u'よ'},
    {u"ら行", u'ら', u'ろ'}, {u"わ行", u'わ', u'ん'}, {u"が行", u'が', u'ご'}, {u"ざ行", u'ざ', u'ぞ'},
    {u"だ行", u'だ', u'ど'}, {u"ば行", u'ば', u'ぼ'}, {u"ぱ行", u'ぱ', u'ぽ'}, {u"ア行", u'ア', u'オ'},
    {u"カ行", u'カ', u'コ'}, {u"サ行", u'サ', u'ソ'}, {u"タ行", u'タ', u'ト'}, {u"ナ行", u'ナ', u'ノ'},
    {u"ハ行", u'ハ', u'ホ'}, {u"マ行", u'マ', u'モ'}, {u"ヤ行", u'ヤ', u'ヨ'}, {u"ラ行", u'ラ', u'ロ'},
    {u"ワ行", u'ワ', u'ン'}, {u"ガ行", u'ガ', u'ゴ'}, {u"ザ行", u'ザ', u'ゾ'}, {u"ダ行", u'ダ', u'ド'},
    {u"バ行", u'バ', u'ボ'}, {u"パ行", u'パ', u'ポ'},
};

// The heads made once, so that a list of millions of rows shares them.
const QString &sharedHeadOf(QChar c)
{
    static const auto heads = [] {
        std::vector<QString> out;
        for (const Range &r : Table)
            out.push_back(QString::fromUtf16(r.head));
        return out;
    }();
    static const QString none;
    for (size_t i = 0; i < std::size(Table); ++i)
        if (c.unicode() >= Table[i].first && c.unicode() <= Table[i].last)
            return heads[i];
    return none;
}

} // namespace

QString headOf(QChar c)
{
    return sharedHeadOf(c);
}

QStringList heads(const QStringList &texts)
{
    return heads(texts, {});
}

QStringList heads(const QStringList &texts, const QStringList &readings)
{
    QString firsts(texts.size(), QChar());
    for (qsizetype i = 0; i < texts.size(); ++i)
        if (const QString key = sortKey(texts[i], readings.value(i)); !key.isEmpty())
            firsts[i] = key.front();
    QStringList out(texts.size());
    for (const auto &[row, head] : headRows(firsts))
        out[row] = head;
    return out;
}

std::vector<std::pair<qsizetype, QString>> headRows(const QString &firstChars)
{
    std::vector<std::pair<qsizetype, QString>> out;
    const QString *current = nullptr;
    for (qsizetype i = 0; i < firstChars.size(); ++i) {
        const QString &h = sharedHeadOf(firstChars[i]);
        if (!h.isEmpty() && &h != current) {
            out.emplace_back(i, h);
            current = &h;
        }
    }
    return out;
}

QString sortKey(const QString &text, const QString &reading)
{
    if (text.isEmpty() || reading.isEmpty() || !headOf(text.front()).isEmpty() ||
        headOf(reading.front()).isEmpty())
        return text;
    return reading;
}

} // namespace KanaIndex
