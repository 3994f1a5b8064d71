#pragma once

#include <QHash>
#include <QString>

// The per-user settings store: text values by key within one application and section.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual QString read(const QString &key, const QString &defaultValue) const = 0;
    virtual void write(const QString &key, const QString &value) = 0;
};

// QSettings under application "Talk", section "OPT".
class QtSettingsStore final : public SettingsStore
{
public:
    QString read(const QString &key, const QString &defaultValue) const override;
    void write(const QString &key, const QString &value) override;
};

// Keeps values in memory; for tests and for runs that must not touch the user's store.
class MemorySettingsStore final : public SettingsStore
{
public:
    QString read(const QString &key, const QString &defaultValue) const override
    {
        return values.value(key, defaultValue);
    }
    void write(const QString &key, const QString &value) override { values.insert(key, value); }

    QHash<QString, QString> values;
};
