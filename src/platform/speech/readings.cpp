#include "platform/speech/readings.h"

#include <QHash>

namespace Readings {

namespace {

bool isHiragana(QChar c)
{
    return c.unicode() >= 0x3041 && c.unicode() <= 0x3096;
}

bool isKatakana(QChar c)
{
    return c.unicode() >= 0x30A1 && c.unicode() <= 0x30FA;
}

QChar toKatakana(QChar c)
{
    return isHiragana(c) ? QChar(char16_t(c.unicode() + 0x60)) : c;
}

const QHash<QString, QString> &names()
{
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> t;
        const char16_t *small = u"ァィゥェォッャュョヮヵヶ";
        const char16_t *large = u"アイウエオツヤユヨワカケ";
        for (int i = 0; small[i]; ++i)
            t.insert(QString(QChar(small[i])), QStringLiteral("チイサイ") + QChar(large[i]));
        const char *letters[] = {"エー",   "ビー",       "シー",     "ディー", "イー",  "エフ",   "ジー",
                                 "エイチ", "アイ",       "ジェー",   "ケー",   "エル",  "エム",   "エヌ",
                                 "オー",   "ピー",       "キュー",   "アール", "エス",  "ティー", "ユー",
                                 "ブイ",   "ダブリュー", "エックス", "ワイ",   "ゼット"};
        for (int i = 0; i < 26; ++i) {
            const QString name = QString::fromUtf8(letters[i]);
            t.insert(QString(QChar('A' + i)), name);
            t.insert(QString(QChar('a' + i)), QStringLiteral("コモジ") + name);
        }
        const char *digits[] = {"ゼロ", "イチ", "ニ", "サン", "ヨン", "ゴ", "ロク", "ナナ", "ハチ", "キュウ"};
        for (int i = 0; i < 10; ++i)
            t.insert(QString(QChar('0' + i)), QString::fromUtf8(digits[i]));
        const std::pair<const char *, const char *> marks[] = {
            {"ー", "ノバシボウ"},
            {"？", "ハテナ"},
            {"?", "ハテナ"},
            {"。", "マル"},
            {"、", "テン"},
            {"!", "ビックリ"},
            {"！", "ビックリ"},
            {";", "セミコロン"},
            {"/", "スラッシュ"},
            {",", "カンマ"},
            {".", "ピリオド"},
            {":", "コロン"},
            {"%", "パーセント"},
            {"+", "プラス"},
            {"-", "マイナス"},
            {"@", "アットマーク"},
            {"(^_^)", "ニコニコ"},
            {"(T_T)", "シクシク"},
            {"_", ""},
            {" ", ""},
            {"　", ""},
        };
        for (const auto &[mark, name] : marks)
            t.insert(QString::fromUtf8(mark), QString::fromUtf8(name));
        return t;
    }();
    return table;
}

} // namespace

QString ofLoneCharacter(const QString &text)
{
    const QString key = text.size() == 1 ? QString(toKatakana(text.front())) : text;
    const auto it = names().constFind(key);
    if (it != names().constEnd())
        return *it;
    return text.size() == 1 && isKatakana(key.front()) ? key : text;
}

QStringList clauses(const QString &sentence)
{
    static const QString ends = QStringLiteral("。、！？!?\n\r");
    QStringList out;
    QString current;
    for (const QChar c : sentence) {
        current += c;
        if (ends.contains(c)) {
            if (!current.trimmed().isEmpty())
                out << current.trimmed();
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        out << current.trimmed();
    return out;
}

qsizetype firstPhraseEnd(const QString &clause)
{
    constexpr qsizetype ShortestRest = 4; // a shorter rest is made as fast as the whole
    static const QString particles = QStringLiteral("はがをにでともへ");
    auto isWordChar = [](QChar c) { return isKatakana(c) || c.script() == QChar::Script_Han || c == u'ー'; };
    for (qsizetype i = 2; i + ShortestRest < clause.size(); ++i)
        if (particles.contains(clause[i]) && isWordChar(clause[i - 1]))
            return i + 1;
    return -1;
}

QString kanaOnly(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        const bool keep = isHiragana(c) || isKatakana(c) || c == u'ー' || c.unicode() < 0x80 ||
                          QStringLiteral("。、！？").contains(c);
        out += keep ? c : QLatin1Char(' ');
    }
    return out;
}

} // namespace Readings
