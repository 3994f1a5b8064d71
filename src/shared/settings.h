#pragma once

#include <QString>
#include <optional>

class SettingsStore;

// The options, as the store keeps them; the program reads them through the typed readings below.
struct Settings
{
    QString OPT1 = QStringLiteral("0");  // first-screen presses
    QString OPT2 = QStringLiteral("0");  // selection-screen presses
    QString OPT3 = QStringLiteral("0");  // when the character speaks
    QString Beep = QStringLiteral("0");  // key sound on when "1"
    QString Moji = QStringLiteral("0");  // large text
    QString Samp = QStringLiteral("1");  // suggestions while typing, on when not 0
    qint32 gMaxC = 9;                    // last board column: 9 or 14
    qint16 Sample = 2;                   // length of the suggestion key, 1..5
    QString Kanji = QStringLiteral("0"); // kanji candidates while typing, on when "1"

    // What a press on the first screen does; none for a value out of range.
    struct FirstScreenPress
    {
        bool enters;     // enters the character, instead of opening the selection screen
        bool twoPresses; // only the second press on the same character acts
    };
    std::optional<FirstScreenPress> firstScreenPress() const;
    // Whether the selection screen enters on a second press only; none for a value out of range.
    std::optional<bool> selectionTwoPresses() const;

    bool beepOn() const { return Beep == QLatin1String("1"); }
    bool largeText() const { return Moji.toInt() == 1; }
    bool suggestionsOn() const { return Samp.toInt() != 0; }
    bool candidatesOn() const { return Kanji == QLatin1String("1"); }
};

// Reads the keys; a value that is missing, not a number or out of range reads as its default.
Settings ReadSettings(const SettingsStore &store);

// Writes all the keys as decimal text, all or none; false, saying why, when they were not kept.
bool WriteSettings(SettingsStore &store, const Settings &settings, QString *error);

// Point size of the text box for the large-text option.
int talkFontPoints(const Settings &settings);
