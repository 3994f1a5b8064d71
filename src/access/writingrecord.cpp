#include "access/writingrecord.h"

#include "platform/settingsstore.h"

#include <QStringList>
#include <algorithm>

double WritingRecord::Day::charactersPerMinute() const
{
    return writingMs > 0 ? characters * 60000.0 / double(writingMs) : 0;
}

double WritingRecord::Day::stepsPerCharacter() const
{
    return characters > 0 ? double(steps) / characters : 0;
}

double WritingRecord::Day::dwellPressesPerCharacter() const
{
    return characters > 0 ? double(dwellPresses) / characters : 0;
}

double WritingRecord::Day::correctionsPerCharacter() const
{
    return characters > 0 ? double(corrections) / characters : 0;
}

void WritingRecord::pressed(QDate day, qint64 nowMs, int characters, bool undo, bool dwell)
{
    Day &d = m_days[day];
    if (m_lastPressMs && nowMs >= *m_lastPressMs && nowMs - *m_lastPressMs <= RestMs)
        d.writingMs += nowMs - *m_lastPressMs;
    m_lastPressMs = nowMs;
    d.characters += characters;
    d.corrections += undo ? 1 : 0;
    d.dwellPresses += dwell ? 1 : 0;
}

void WritingRecord::step(QDate day)
{
    ++m_days[day].steps;
}

QString WritingRecord::keyOf(QDate day)
{
    return QStringLiteral("Record") + day.toString(QStringLiteral("yyyyMMdd"));
}

QString WritingRecord::encode(const Day &d)
{
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(d.characters)
        .arg(d.writingMs)
        .arg(d.steps)
        .arg(d.dwellPresses)
        .arg(d.corrections);
}

std::optional<WritingRecord::Day> WritingRecord::decode(const QString &value)
{
    const QStringList f = value.split(u' ', Qt::SkipEmptyParts);
    if (f.size() != 5)
        return std::nullopt;
    bool ok[5] = {};
    Day d{f[0].toInt(&ok[0]), f[1].toLongLong(&ok[1]), f[2].toInt(&ok[2]), f[3].toInt(&ok[3]),
          f[4].toInt(&ok[4])};
    for (bool b : ok)
        if (!b)
            return std::nullopt;
    if (d.characters < 0 || d.writingMs < 0 || d.steps < 0 || d.dwellPresses < 0 || d.corrections < 0)
        return std::nullopt;
    return d;
}

void WritingRecord::load(const SettingsStore &store, QDate today)
{
    m_days.clear();
    m_lastPressMs.reset();
    for (int i = 0; i < Days; ++i) {
        const QDate day = today.addDays(-i);
        if (const auto d = decode(store.read(keyOf(day), QString())); d && !d->isEmpty())
            m_days.insert(day, *d);
    }
}

bool WritingRecord::save(SettingsStore &store, QDate today, QString *error) const
{
    SettingsStore::Values values;
    for (int i = 0; i < 2 * Days; ++i) {
        const QDate day = today.addDays(-i);
        const Day d = i < Days ? m_days.value(day) : Day();
        // A day without counts is written only to empty what the store holds for it.
        if (!d.isEmpty() || !store.read(keyOf(day), QString()).isEmpty())
            values.append({keyOf(day), d.isEmpty() ? QString() : encode(d)});
    }
    return values.isEmpty() || store.write(values, error);
}

void WritingRecord::watchClearing(const SettingsStore &store)
{
    if (!m_clearedSeen)
        m_clearedSeen = store.read(ClearedKey, QString());
}

bool WritingRecord::keep(SettingsStore &store, QDate today, QString *error)
{
    // Cleared in the record window since these were counted (the presses that cleared it among them).
    if (const QString cleared = store.read(ClearedKey, QString());
        cleared != m_clearedSeen.value_or(cleared)) {
        m_days.clear();
        m_lastPressMs.reset();
        m_clearedSeen = cleared;
    }
    WritingRecord stored;
    stored.load(store, today);
    for (auto it = m_days.cbegin(); it != m_days.cend(); ++it) {
        if (it.key() <= today.addDays(-Days))
            continue;
        // Counted on a later day by a clock since set back: they belong to the days kept, not lost.
        Day &d = stored.m_days[std::min(it.key(), today)];
        d.characters += it->characters;
        d.writingMs += it->writingMs;
        d.steps += it->steps;
        d.dwellPresses += it->dwellPresses;
        d.corrections += it->corrections;
    }
    if (!stored.save(store, today, error)) {
        // A store that holds what it could not write for the rest of the run (as the options do)
        // has these counts now: kept again, they would count twice.
        WritingRecord now;
        now.load(store, today);
        if (now.m_days == stored.m_days)
            m_days.clear();
        return false;
    }
    m_days.clear(); // the time of the last press stays: the next gap is still writing
    return true;
}

bool WritingRecord::clear(SettingsStore &store, QDate today, QString *error)
{
    m_days.clear();
    m_lastPressMs.reset();
    const QString times = QString::number(store.read(ClearedKey, QString()).toLongLong() + 1);
    return save(store, today, error) && store.write({{ClearedKey, times}}, error);
}
