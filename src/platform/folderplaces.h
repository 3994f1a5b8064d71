#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Where a user's folders are likely to be: sticks and cards plugged in, then
// the home folder and its usual folders.
struct FolderPlace
{
    QString caption; // as the user reads it
    QString path;
};
QList<FolderPlace> FolderPlaces();

// The folders in `path` a user would look for, by name; hidden ones left out.
QStringList Subfolders(const QString &path);
