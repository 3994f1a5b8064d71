#pragma once

#include "platform/entrystorage.h"

#include <QSaveFile>

// Entry files in a folder whose next save can be made to stop half-way, as a
// crash or a full disk would stop it.
class FailingEntryStorage final : public FolderEntryStorage
{
public:
    using FolderEntryStorage::FolderEntryStorage;

    void failNextWrite() { m_failNext = true; }

    bool write(const QString &name, const QString &text, QString *error) override
    {
        if (!m_failNext)
            return FolderEntryStorage::write(name, text, error);
        m_failNext = false;
        QSaveFile file(pathOf(name));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(text.toUtf8().left(text.size() / 2));
            file.cancelWriting();
            file.commit();
        }
        if (error)
            *error = QStringLiteral("「%1」を保存できませんでした。書き込みが途中で止まりました。").arg(name);
        return false;
    }

private:
    bool m_failNext = false;
};
