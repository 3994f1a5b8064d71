#pragma once

#include "platform/textcodec.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// Where the entry files are read and written, whole, one entry a line.
// Every error is a complete message in Japanese, ready to show.
class EntryStorage
{
public:
    struct Read
    {
        bool exists = false;
        bool ok = false;
        QString text; // the whole file, decoded
        QString error;
        QString warning; // said once a run: a file too large to keep the lists quick
    };

    virtual ~EntryStorage() = default;
    virtual bool exists(const QString &name) const = 0;
    virtual Read read(const QString &name) = 0;
    // Replaces the file whole, or leaves the old one as it was and says why.
    virtual bool write(const QString &name, const QString &text, QString *error) = 0;
    virtual QString pathOf(const QString &name) const = 0;
    // What changes whenever the file does (its size, times and identity); empty when unknown.
    virtual QString stamp(const QString &) const { return {}; }
};

// Files in one folder, written atomically, each in the encoding it was read
// in. A file that exists but could not be read is never overwritten, so what
// it holds is not lost.
class FolderEntryStorage : public EntryStorage
{
public:
    // Each file is read whole into memory, and read as text twice its size.
    static constexpr qint64 MaxBytes = qint64(1) << 30;

    explicit FolderEntryStorage(const QString &folder) : m_folder(folder) {}
    bool exists(const QString &name) const override;
    Read read(const QString &name) override;
    bool write(const QString &name, const QString &text, QString *error) override;
    QString pathOf(const QString &name) const override;
    QString stamp(const QString &name) const override;
    QString folder() const { return m_folder; }

    // The program's folder when it already keeps the files and can be written,
    // else the per-user data folder.
    static QString chooseFolder(const QString &programFolder);

private:
    // "「name」" with the folder on a line of its own, as messages name a file.
    QString named(const QString &name, const QString &what) const;

    QString m_folder;
    QSet<QString> m_unreadable;
    QSet<QString> m_warnedLarge;
    QHash<QString, TextCodec::Encoding> m_encodings;
};
