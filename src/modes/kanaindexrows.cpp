#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "modes/kanaindex.h"
#include "modes/modes.h"
#include "platform/grid.h"

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

void writeHeads(TalkContext &t, Grid *g, const QStringList &rows)
{
    const QStringList heads = KanaIndex::heads(rows);
    for (int r = 0; r < rows.size(); ++r)
        g->setTextMatrix(r, 0, heads[r]);
    if (!rows.isEmpty())
        t.gPickText = rows.back();
}

} // namespace

void IndexSampleRows(TalkContext &t)
{
    Grid *g = t.w->grdEx;
    if (g->cols() < 2)
        g->setCols(2);
    sortOnText(g);
    const QStringList rows = KanaIndex::placeholdersFirst(texts(g));
    g->setRows(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        g->setTextMatrix(r, 1, rows[r]);
    writeHeads(t, g, rows);
}

void IndexAddressRows(TalkContext &t)
{
    Grid *g = t.w->grdAD;
    sortOnText(g);
    writeHeads(t, g, texts(g));
}
