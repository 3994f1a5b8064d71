#include "shared/settings.h"

#include "platform/settingsstore.h"

namespace {

// The stored value when it is a whole number within [low, high], else the default.
QString readNumber(const SettingsStore &store, const QString &key, int low, int high, int defaultValue)
{
    bool ok = false;
    const int value = store.read(key, QString::number(defaultValue)).trimmed().toInt(&ok);
    return QString::number(ok && value >= low && value <= high ? value : defaultValue);
}

} // namespace

Settings ReadSettings(const SettingsStore &store)
{
    Settings s;
    s.OPT1 = readNumber(store, QStringLiteral("OPT1"), 0, 3, 0);
    s.OPT2 = readNumber(store, QStringLiteral("OPT2"), 0, 1, 0);
    s.OPT3 = readNumber(store, QStringLiteral("OPT3"), 0, 3, 0);
    s.Beep = readNumber(store, QStringLiteral("Beep"), 0, 1, 0);
    s.Moji = readNumber(store, QStringLiteral("Moji"), 0, 1, 0);
    s.Samp = readNumber(store, QStringLiteral("Samp"), 0, 1, 1);
    const int maxC = readNumber(store, QStringLiteral("gMaxC"), 9, 14, 9).toInt();
    s.gMaxC = maxC == 14 ? 14 : 9; // a stored 10 (or anything else) means ten columns
    s.Sample = qint16(readNumber(store, QStringLiteral("Sample"), 1, 5, 2).toInt());
    s.Kanji = readNumber(store, QStringLiteral("Kanji"), 0, 1, 0);
    return s;
}

bool WriteSettings(SettingsStore &store, const Settings &s, QString *error)
{
    return store.write({{QStringLiteral("OPT1"), s.OPT1},
                        {QStringLiteral("OPT2"), s.OPT2},
                        {QStringLiteral("OPT3"), s.OPT3},
                        {QStringLiteral("Samp"), s.Samp},
                        {QStringLiteral("Sample"), QString::number(s.Sample)},
                        {QStringLiteral("Beep"), s.Beep},
                        {QStringLiteral("Moji"), s.Moji},
                        {QStringLiteral("gMaxC"), QString::number(s.gMaxC)},
                        {QStringLiteral("Kanji"), s.Kanji}},
                       error);
}

int talkFontPoints(const Settings &settings)
{
    return settings.largeText() ? 100 : 55;
}

std::optional<Settings::FirstScreenPress> Settings::firstScreenPress() const
{
    const int opt1 = OPT1.toInt();
    if (opt1 < 0 || opt1 > 3)
        return std::nullopt;
    // 0 and 1 open the selection screen, 2 and 3 enter; 1 and 3 want a second press.
    return FirstScreenPress{opt1 >= 2, opt1 == 1 || opt1 == 3};
}

std::optional<bool> Settings::selectionTwoPresses() const
{
    const int opt2 = OPT2.toInt();
    if (opt2 != 0 && opt2 != 1)
        return std::nullopt;
    return opt2 == 1;
}
