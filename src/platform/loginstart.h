#pragma once

#include <QString>

class SettingsStore;

// Whether the program starts when the user logs in: an XDG autostart entry,
// with the choice also kept in the settings store (key "AtLogin").
class LoginStart
{
public:
    // The store is the section the choice is kept in; the program is what the entry starts.
    LoginStart(SettingsStore &store, const QString &program);

    bool enabled() const;
    // Writes or removes the entry; false, saying why, when it could not.
    bool setEnabled(bool on, QString *error);
    // The autostart entry's path.
    static QString entryPath();

private:
    SettingsStore &m_store;
    QString m_program;
};
