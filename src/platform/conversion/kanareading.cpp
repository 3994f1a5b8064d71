#include "platform/conversion/kanareading.h"

#include <QStringList>
#include <mecab.h>
#include <memory>

namespace {

constexpr const char *Dictionary = "/var/lib/mecab/dic/naist-jdic";

struct Tagger
{
    std::unique_ptr<MeCab::Tagger> tagger;
    QString problem;
};

// Opened once: loading the dictionary takes a moment, each analysis microseconds.
Tagger &tagger()
{
    static Tagger t = [] {
        Tagger made;
        // No rc file: the dictionary is named here, so a missing /etc/mecabrc does not matter.
        const QByteArray args = QByteArray("-r /dev/null -d ") + Dictionary;
        made.tagger.reset(MeCab::createTagger(args.constData()));
        if (!made.tagger)
            made.problem =
                QStringLiteral("MeCab could not open %1: %2")
                    .arg(QString::fromLatin1(Dictionary), QString::fromLocal8Bit(MeCab::getTaggerError()));
        return made;
    }();
    return t;
}

struct Word
{
    QString surface;
    QString reading;
    QStringList features;
};

std::vector<Word> words(const QString &text)
{
    std::vector<Word> out;
    Tagger &t = tagger();
    if (!t.tagger) {
        out.push_back({text, text, {}});
        return out;
    }
    const QByteArray utf8 = text.toUtf8();
    for (const MeCab::Node *n = t.tagger->parseToNode(utf8.constData(), utf8.size()); n; n = n->next) {
        if (n->stat == MECAB_BOS_NODE || n->stat == MECAB_EOS_NODE)
            continue;
        Word w;
        w.surface = QString::fromUtf8(n->surface, n->length);
        w.features = QString::fromUtf8(n->feature).split(u',');
        // Unknown words and kana have no reading field, or "*".
        const QString reading = w.features.size() > 7 ? w.features[7] : QString();
        w.reading = KanaReading::toHiragana(reading.isEmpty() || reading == u"*" ? w.surface : reading);
        // MeCab drops the spaces between words; the reading keeps them.
        const int spaceBefore = n->rlength - n->length;
        if (spaceBefore > 0)
            w.reading.prepend(QString::fromUtf8(n->surface - spaceBefore, spaceBefore));
        out.push_back(std::move(w));
    }
    return out;
}

} // namespace

namespace KanaReading {

bool available(QString *problem)
{
    Tagger &t = tagger();
    if (problem)
        *problem = t.problem;
    return bool(t.tagger);
}

QString toHiragana(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c >= u'ァ' && c <= u'ヶ')
            c = QChar(c.unicode() - 0x60);
    return out;
}

QString of(const QString &text)
{
    QString out;
    for (const Word &w : words(text))
        out += w.reading;
    return out;
}

QString ofWords(const QString &text, QChar separator)
{
    QString out;
    for (const Word &w : words(text)) {
        if (!out.isEmpty())
            out += separator;
        out += w.reading;
    }
    return out;
}

std::vector<Phrase> phrases(const QString &text)
{
    std::vector<Phrase> out;
    bool joinNext = false;
    QString previousSub;
    for (const Word &w : words(text)) {
        const QString pos = w.features.value(0), sub = w.features.value(1);
        if (pos == u"記号" || w.surface.trimmed().isEmpty()) {
            joinNext = false;
            continue;
        }
        // する after a noun that takes it (電話して) belongs to the noun.
        const bool suru = pos == u"動詞" && w.features.value(6) == u"する" && previousSub == u"サ変接続";
        const bool attaches = pos == u"助詞" || pos == u"助動詞" || sub == u"接尾" ||
                              (pos == u"動詞" && sub == u"非自立") || suru || joinNext;
        previousSub = sub;
        const QString reading = w.reading.trimmed();
        if (attaches && !out.empty()) {
            out.back().text += w.surface;
            out.back().reading += reading;
        } else {
            out.push_back({w.surface, reading});
        }
        joinNext = pos == u"接頭詞";
    }
    return out;
}

} // namespace KanaReading
