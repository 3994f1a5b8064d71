#pragma once

#include <QString>
#include <QStringList>

class QWidget;
struct SharedState;

// The stored sentences a recording may be made for.
QStringList StoredSentences(const SharedState &shared);
// Opens the recordings over `parent`: the text being written first, then the stored sentences.
void OpenRecordings(SharedState &shared, const QString &textBeingWritten, QWidget *parent);
