#include "platform/settingsstore.h"

#include <QSettings>

namespace {

QString sectionKey(const QString &key)
{
    return QStringLiteral("OPT/") + key;
}

} // namespace

QString QtSettingsStore::read(const QString &key, const QString &defaultValue) const
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Talk"),
                       QStringLiteral("Talk"));
    return settings.value(sectionKey(key), defaultValue).toString();
}

void QtSettingsStore::write(const QString &key, const QString &value)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Talk"),
                       QStringLiteral("Talk"));
    settings.setValue(sectionKey(key), value);
    settings.sync();
}
