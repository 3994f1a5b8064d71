#include "shared/callsettings.h"

#include "platform/settingsstore.h"

namespace {

int readInt(const SettingsStore &store, const QString &key, int low, int high, int defaultValue)
{
    bool ok = false;
    const int value = store.read(key, QString::number(defaultValue)).trimmed().toInt(&ok);
    return ok && value >= low && value <= high ? value : defaultValue;
}

} // namespace

CallSettings ReadCallSettings(const SettingsStore &store)
{
    const CallSettings d;
    CallSettings s;
    s.enabled = readInt(store, QStringLiteral("Enabled"), 0, 1, 1) == 1;
    s.volumePercent = readInt(store, QStringLiteral("Volume"), 10, 100, d.volumePercent);
    s.durationS = readInt(store, QStringLiteral("DurationS"), 10, 600, d.durationS);
    s.command = store.read(QStringLiteral("Command"), QString()).trimmed();
    return s;
}

bool WriteCallSettings(SettingsStore &store, const CallSettings &s, QString *error)
{
    return store.write({{QStringLiteral("Enabled"), QString::number(s.enabled)},
                        {QStringLiteral("Volume"), QString::number(s.volumePercent)},
                        {QStringLiteral("DurationS"), QString::number(s.durationS)}},
                       error);
}
