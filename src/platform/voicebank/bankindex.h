#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// One recording of the bank, as index.tsv lists it.
struct BankEntry
{
    enum class Kind { Phrase, Kana };

    QString text;
    QString file; // a name inside the bank's folder
    Kind kind = Kind::Phrase;
    QDateTime recorded;
    double seconds = 0;
};

// index.tsv: a header line, then one recording a line,
// "text<TAB>file<TAB>phrase|kana<TAB>ISO date<TAB>seconds", UTF-8. A tab, a line
// end or a backslash inside the text is written \t, \n, \\.
namespace BankIndex {

QString format(const QList<BankEntry> &entries);
// Lines that cannot be read are left out and counted in `skipped`. Two columns
// (text, file) are enough: an import's index has only those.
QList<BankEntry> parse(const QString &text, int *skipped = nullptr);
// A file name as the bank takes it: a plain name, no folder, no hidden file.
bool isPlainName(const QString &name);

} // namespace BankIndex
