#include "modes/kanaindexrows.h"

#include "board/board.h"
#include "entries/entryformat.h"
#include "modes/kanaindex.h"
#include "platform/grid.h"
#include "shared/sharedstate.h"

#include <functional>

namespace {

void sortOnText(Grid *g)
{
    g->setRow(0);
    g->setCol(1);
    g->setColSel(1);
    g->setSort(Grid::SortAscending);
}

void writeHeads(Grid *g)
{
    // The first characters are kept beside the texts: a sorted list of millions
    // of rows is headed without reading each text where it lies.
    const auto heads = KanaIndex::headRows(g->firstChars(1));
    auto next = heads.begin();
    for (int r = 0; r < g->rows(); ++r) {
        if (next != heads.end() && next->first == r)
            g->setTextMatrix(r, 0, (next++)->second);
        else if (!g->textMatrix(r, 0).isEmpty())
            g->setTextMatrix(r, 0, QString());
    }
}

// Brings the two placeholder lines to rows 0 and 1, adding any that is missing;
// sorted, they lie together, and the rows above them move down.
void placeholdersFirst(Grid *g)
{
    const QString &placeholder = EntryFormat::Placeholder;
    int from = 0;
    for (int place = 0; place < 2; ++place) {
        int r = g->findTrimmed(1, placeholder, std::max(from, place));
        while (r >= 0 && g->textMatrix(r, 1) != placeholder)
            r = g->findTrimmed(1, placeholder, r + 1);
        if (r < 0) {
            r = g->rows();
            g->setRows(r + 1);
            g->setTextMatrix(r, 1, placeholder);
        }
        g->moveRow(r, place);
        from = r + 1;
    }
}

QStringList texts(const Grid *g)
{
    QStringList out;
    out.reserve(g->rows());
    for (int r = 0; r < g->rows(); ++r)
        out << g->textMatrix(r, 1);
    return out;
}

// A sentence that begins with a kanji sorts among the kana of its reading.
void sortOnReadings(Grid *g, const std::function<QString(const QString &)> &readingOf)
{
    std::vector<std::pair<QString, QString>> keyed;
    for (const QString &row : texts(g))
        keyed.emplace_back(KanaIndex::sortKey(row, readingOf(row)), row);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (int r = 0; r < int(keyed.size()); ++r)
        g->setTextMatrix(r, 1, keyed[size_t(r)].second);
}

void writeReadingHeads(Grid *g, const std::function<QString(const QString &)> &readingOf)
{
    const QStringList rows = texts(g);
    QStringList readings;
    readings.reserve(rows.size());
    for (const QString &row : rows)
        readings << readingOf(row);
    const QStringList heads = KanaIndex::heads(rows, readings);
    for (int r = 0; r < heads.size(); ++r)
        g->setTextMatrix(r, 0, heads[r]);
}

} // namespace

KanaIndexRows::KanaIndexRows(Grid *grdEx, Grid *grdAD, SharedState &shared, Board &board)
    : m_grdEx(grdEx), m_grdAD(grdAD), m_shared(shared), m_board(board)
{}

void KanaIndexRows::IndexSampleRows()
{
    Grid *g = m_grdEx;
    if (g->cols() < 2)
        g->setCols(2);
    sortOnText(g);
    if (m_shared.readingOf)
        sortOnReadings(g, m_shared.readingOf);
    placeholdersFirst(g);
    if (m_shared.readingOf)
        writeReadingHeads(g, m_shared.readingOf);
    else
        writeHeads(g);
    if (g->rows() > 0)
        m_board.forgetFirstPress();
    m_indexedSamples = g->textRevision();
    m_indexedByReading = bool(m_shared.readingOf);
}

bool KanaIndexRows::indexedAsNow() const
{
    return m_indexedByReading == bool(m_shared.readingOf);
}

void KanaIndexRows::IndexAddressRows()
{
    Grid *g = m_grdAD;
    sortOnText(g);
    writeHeads(g);
    if (g->rows() > 0)
        m_board.forgetFirstPress();
}
