#include "modes/kanaindexrows.h"

#include "board/board.h"
#include "entries/entryformat.h"
#include "entries/entrylist.h"
#include "modes/kanaindex.h"
#include "shared/sharedstate.h"

#include <functional>

namespace {

void writeHeads(EntryList &list)
{
    // The first characters are kept beside the texts: a sorted list of millions
    // of rows is headed without reading each text where it lies.
    list.setHeadRows(KanaIndex::headRows(list.firstChars()));
}

// Brings the two placeholder lines to rows 0 and 1, adding any that is missing;
// sorted, they lie together, and the rows above them move down.
void placeholdersFirst(EntryList &list)
{
    const QString &placeholder = EntryFormat::Placeholder;
    int from = 0;
    for (int place = 0; place < 2; ++place) {
        int r = list.findTrimmed(placeholder, std::max(from, place));
        while (r >= 0 && list.text(r) != placeholder)
            r = list.findTrimmed(placeholder, r + 1);
        if (r < 0) {
            r = list.rows();
            list.append(placeholder);
        }
        list.moveRow(r, place);
        from = r + 1;
    }
}

// A sentence that begins with a kanji sorts among the kana of its reading.
void sortOnReadings(EntryList &list, const std::function<QString(const QString &)> &readingOf)
{
    std::vector<std::pair<QString, QString>> keyed;
    for (const QString &row : list.texts())
        keyed.emplace_back(KanaIndex::sortKey(row, readingOf(row)), row);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (int r = 0; r < int(keyed.size()); ++r)
        list.setText(r, keyed[size_t(r)].second);
}

void writeReadingHeads(EntryList &list, const std::function<QString(const QString &)> &readingOf)
{
    const QStringList rows = list.texts();
    QStringList readings;
    readings.reserve(rows.size());
    for (const QString &row : rows)
        readings << readingOf(row);
    list.setHeads(KanaIndex::heads(rows, readings));
}

} // namespace

void IndexExamples(EntryList &examples, const std::function<QString(const QString &)> &readingOf)
{
    // Menu rows already shown are ordered as the file's lines they stand for, so
    // that a list indexed again comes out as a list read afresh.
    for (int r = 0; r < examples.menuRows(); ++r)
        examples.setText(r, EntryFormat::Placeholder);
    examples.sortByText();
    if (readingOf)
        sortOnReadings(examples, readingOf);
    placeholdersFirst(examples);
    if (readingOf)
        writeReadingHeads(examples, readingOf);
    else
        writeHeads(examples);
    examples.setText(0, EntryFormat::DiaryRow);
    examples.setText(1, EntryFormat::MailRow);
    examples.setMenuRows(2);
}

void IndexAddresses(EntryList &addresses)
{
    addresses.sortByText();
    writeHeads(addresses);
}

KanaIndexRows::KanaIndexRows(EntryList &examples, EntryList &addresses, SharedState &shared, Board &board)
    : m_examples(examples), m_addresses(addresses), m_shared(shared), m_board(board)
{}

void KanaIndexRows::IndexSampleRows()
{
    IndexExamples(m_examples, m_shared.readingOf);
    m_board.forgetFirstPress();
    m_indexedSamples = m_examples.revision();
    m_indexedByReading = bool(m_shared.readingOf);
}

bool KanaIndexRows::indexedAsNow() const
{
    return m_indexedByReading == bool(m_shared.readingOf);
}

void KanaIndexRows::IndexAddressRows()
{
    IndexAddresses(m_addresses);
    if (m_addresses.rows() > 0)
        m_board.forgetFirstPress();
}
