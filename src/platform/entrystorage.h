#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// Where the entry files are read and written, whole, one entry a line.
class EntryStorage
{
public:
    struct Read
    {
        bool exists = false;
        bool ok = false;
        QString text; // the whole file, decoded
        QString error;
    };

    virtual ~EntryStorage() = default;
    virtual bool exists(const QString &name) const = 0;
    virtual Read read(const QString &name) = 0;
    // Replaces the file whole, or leaves the old one as it was and says why.
    virtual bool write(const QString &name, const QString &text, QString *error) = 0;
    virtual QString pathOf(const QString &name) const = 0;
};

// Files in one folder, written atomically. A file that exists but could not be
// read is never overwritten, so what it holds is not lost.
class FolderEntryStorage final : public EntryStorage
{
public:
    explicit FolderEntryStorage(const QString &folder) : m_folder(folder) {}
    bool exists(const QString &name) const override;
    Read read(const QString &name) override;
    bool write(const QString &name, const QString &text, QString *error) override;
    QString pathOf(const QString &name) const override;
    QString folder() const { return m_folder; }

    // For tests: the next write stops half-way, as a crash or a full disk would.
    void failNextWrite() { m_failNext = true; }

    // The program's folder when it already keeps the files and can be written,
    // else the per-user data folder.
    static QString chooseFolder(const QString &programFolder);

private:
    QString m_folder;
    QSet<QString> m_unreadable;
    bool m_failNext = false;
};
