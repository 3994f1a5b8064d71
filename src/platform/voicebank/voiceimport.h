#pragma once

#include <QList>
#include <QString>
#include <atomic>

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

// Every file listed (or found), in order, each with what became of it. Set, `stop` ends it
// after the file in hand; what was banked by then is kept.
QList<Line> importFolder(const QString &folder, VoiceBank &bank, const std::atomic_bool *stop = nullptr);
// One line for the user: what became of the file, and why.
QString describe(const Line &line);
// What an import did, for a notice: how many were banked, and the first files refused with why.
QString report(const QList<Line> &lines);

} // namespace VoiceImport
