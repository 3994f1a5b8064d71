#pragma once

#include <QString>
#include <functional>

struct SharedState;
class Board;
class EntryList;

// Orders the example sentences as read from their file (by their readings,
// when given, so that a sentence beginning with a kanji stands among the kana
// it is read with), brings the file's two menu lines to the top, adding any
// that is missing, heads the rows with their kana rows, and shows the menu
// rows' captions in place of the file's placeholder lines.
void IndexExamples(EntryList &examples, const std::function<QString(const QString &)> &readingOf);
// Orders the addresses and heads them with their kana rows.
void IndexAddresses(EntryList &addresses);

// Sorts the example and address lists and writes their kana-row heads.
class KanaIndexRows
{
public:
    KanaIndexRows(EntryList &examples, EntryList &addresses, SharedState &shared, Board &board);

    void IndexSampleRows();
    // The example list's text revision when it was last indexed.
    quint64 indexedSampleRevision() const { return m_indexedSamples; }
    // False once readings are switched on or off since then: the order changes.
    bool indexedAsNow() const;
    void IndexAddressRows();

private:
    EntryList &m_examples;
    EntryList &m_addresses;
    SharedState &m_shared;
    Board &m_board;
    quint64 m_indexedSamples = 0;
    bool m_indexedByReading = false;
};
