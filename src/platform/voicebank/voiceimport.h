#pragma once

#include <QList>
#include <QString>

class VoiceBank;

// Recordings made elsewhere, brought into the bank: a folder of sound files
// listed in its index.tsv ("text<TAB>file" a line) or, without one, named by
// their text. Nothing banked is replaced.
namespace VoiceImport {

struct Line
{
    QString file;
    QString text;
    bool banked = false;
    QString reason; // why it was not banked, in Japanese
};

// Every file listed (or found), in order, each with what became of it.
QList<Line> importFolder(const QString &folder, VoiceBank &bank);
// One line for the user: what became of the file, and why.
QString describe(const Line &line);

} // namespace VoiceImport
