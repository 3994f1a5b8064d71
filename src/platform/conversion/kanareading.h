#pragma once

#include <QString>
#include <vector>

// Readings of written Japanese, from MeCab's analysis with the naist-jdic
// dictionary. Without MeCab every call answers as if each text were its own reading.
namespace KanaReading {

// A piece of a sentence as a user would type it in one go: a content word
// with the particles and endings that follow it.
struct Phrase
{
    QString text;
    QString reading; // hiragana
};

// Whether the dictionary could be opened; the reason when it could not.
bool available(QString *problem = nullptr);

// The sentence's reading in hiragana; kana, marks, digits and letters kept as they are.
QString of(const QString &text);

// The sentence's reading with `separator` between its words.
QString ofWords(const QString &text, QChar separator);

// The sentence cut into phrases, marks and spaces left out.
std::vector<Phrase> phrases(const QString &text);

// Katakana turned into hiragana; everything else as it is.
QString toHiragana(const QString &text);

} // namespace KanaReading
