#include "modes/kanaindexrows.h"

#include "modes/kanaindex.h"
#include "platform/grid.h"
#include "shared/sharedstate.h"

namespace {

void sortOnText(Grid *g)
{
    g->setRow(0);
    g->setCol(1);
    g->setColSel(1);
    g->setSort(Grid::SortAscending);
}

QStringList texts(const Grid *g)
{
    QStringList out;
    out.reserve(g->rows());
    for (int r = 0; r < g->rows(); ++r)
        out << g->textMatrix(r, 1);
    return out;
}

void writeHeads(QString &gPickText, Grid *g, const QStringList &rows, const QStringList &readings = {})
{
    const QStringList heads = KanaIndex::heads(rows, readings);
    for (int r = 0; r < rows.size(); ++r)
        g->setTextMatrix(r, 0, heads[r]);
    if (!rows.isEmpty())
        gPickText = rows.back();
}

} // namespace

KanaIndexRows::KanaIndexRows(Grid *grdEx, Grid *grdAD, SharedState &shared)
    : m_grdEx(grdEx), m_grdAD(grdAD), m_shared(shared)
{}

void KanaIndexRows::IndexSampleRows()
{
    Grid *g = m_grdEx;
    if (g->cols() < 2)
        g->setCols(2);
    sortOnText(g);
    QStringList rows = texts(g);
    QStringList readings;
    if (m_shared.readingOf) {
        // A sentence that begins with a kanji sorts among the kana of its reading.
        std::vector<std::pair<QString, QString>> keyed;
        for (const QString &row : rows)
            keyed.emplace_back(KanaIndex::sortKey(row, m_shared.readingOf(row)), row);
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        rows.clear();
        for (const auto &[key, row] : keyed)
            rows << row;
    }
    rows = KanaIndex::placeholdersFirst(rows);
    g->setRows(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        g->setTextMatrix(r, 1, rows[r]);
        if (m_shared.readingOf)
            readings << m_shared.readingOf(rows[r]);
    }
    writeHeads(m_shared.gPickText, g, rows, readings);
}

void KanaIndexRows::IndexAddressRows()
{
    Grid *g = m_grdAD;
    sortOnText(g);
    writeHeads(m_shared.gPickText, g, texts(g));
}
