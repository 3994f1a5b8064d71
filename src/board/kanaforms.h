#pragma once

#include "platform/conversion/conversionengine.h"

#include <QString>
#include <vector>

// What a written form is made of, for choosing among the forms a run of kana
// may be written in.
namespace KanaForms {

// Whether a character is hiragana or the long-vowel mark, and a text all of them.
bool isKana(QChar c);
bool isKana(const QString &s);
// Kanji numerals written in digits (三十七度 → 37度); empty when there are none.
QString withDigits(const QString &text);
// Forms no one writes in a sentence typed in kana: half-width kana, full-width
// digits, Latin letters, circled or Roman numerals, pictures and signs.
bool isOddForm(const QString &f);
bool hasKatakana(const QString &f);
// The written word before its kana ending (聞 of 聞いて); empty for kana.
QString stem(const QString &f);
// The segments with each run that reads as a number, and that the engine wrote
// at least partly in numerals, as one segment in digits; empty when there is none.
std::vector<Segment> inDigits(const std::vector<Segment> &segments);

} // namespace KanaForms
