#pragma once

#include <QDate>
#include <QMap>
#include <QString>
#include <optional>

class SettingsStore;

// How fast the user writes, day by day: counts only, never what was written.
// Kept for the last Days days in the settings store's "Access" section, one
// key a day ("Record20261209" = characters, ms writing, scan steps, dwell
// presses, corrections).
class WritingRecord
{
public:
    static constexpr int Days = 30;
    // A gap between presses longer than this is a rest, not writing.
    static constexpr qint64 RestMs = 30000;

    struct Day
    {
        int characters = 0;
        qint64 writingMs = 0;
        int steps = 0;
        int dwellPresses = 0;
        int corrections = 0;

        bool operator==(const Day &) const = default;
        bool isEmpty() const
        {
            return characters == 0 && writingMs == 0 && steps == 0 && dwellPresses == 0 && corrections == 0;
        }
        double charactersPerMinute() const;
        double stepsPerCharacter() const;
        double dwellPressesPerCharacter() const;
        double correctionsPerCharacter() const;
    };

    // A press at `nowMs` that wrote `characters`; `undo` for ＢＳ and 戻る, `dwell` for a press by dwell.
    void pressed(QDate day, qint64 nowMs, int characters, bool undo, bool dwell);
    // The scan's highlight moved on.
    void step(QDate day);

    const QMap<QDate, Day> &days() const { return m_days; }
    Day dayOf(QDate day) const { return m_days.value(day); }

    // Reads the last Days days up to `today`; what cannot be read counts as nothing.
    void load(const SettingsStore &store, QDate today);
    // Writes the last Days days, and empties the keys of the days before them.
    bool save(SettingsStore &store, QDate today, QString *error) const;
    // Adds these counts to those the store holds and empties them here, so that
    // counts kept meanwhile (or a clearing) are never overwritten.
    bool keep(SettingsStore &store, QDate today, QString *error);
    // Forgets every day, in the store too; another record's counts not yet kept are forgotten with them
    // at its next keep.
    bool clear(SettingsStore &store, QDate today, QString *error);
    // Notes how often the store's record has been cleared, so that a clearing by another record (the
    // record window) drops the counts this one has not kept yet.
    void watchClearing(const SettingsStore &store);
    static inline const QString ClearedKey = QStringLiteral("RecordCleared");

    static QString keyOf(QDate day);
    static QString encode(const Day &d);
    static std::optional<Day> decode(const QString &value);

private:
    QMap<QDate, Day> m_days;
    std::optional<qint64> m_lastPressMs;
    std::optional<QString> m_clearedSeen; // the store's ClearedKey when last looked at
};
