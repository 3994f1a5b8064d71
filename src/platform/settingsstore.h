#pragma once

#include <QList>
#include <QString>
#include <utility>

// The per-user settings store: text values by key within one application and section.
class SettingsStore
{
public:
    using Values = QList<std::pair<QString, QString>>;

    virtual ~SettingsStore() = default;
    virtual QString read(const QString &key, const QString &defaultValue) const = 0;
    // Stores all the values or none of them; false, saying why, when they could not be kept.
    virtual bool write(const Values &values, QString *error) = 0;
    // Why the store is not used (every read gives the default, every write fails), as a
    // message ready to show; empty when it is fine.
    virtual QString problem() const { return {}; }
};

// QSettings under application "Talk", section "OPT" (or another section of the same store).
class QtSettingsStore final : public SettingsStore
{
public:
    QtSettingsStore() = default;
    // A store in this file instead of the user's own (for tests).
    explicit QtSettingsStore(const QString &fileName) : m_fileName(fileName) {}
    QtSettingsStore(const QString &fileName, const QString &section)
        : m_fileName(fileName), m_section(section)
    {}

    QString read(const QString &key, const QString &defaultValue) const override;
    bool write(const Values &values, QString *error) override;
    // A file of the store that is not a regular file, or is too large to be one.
    QString problem() const override;

private:
    QString m_fileName;
    QString m_section = QStringLiteral("OPT");
};
