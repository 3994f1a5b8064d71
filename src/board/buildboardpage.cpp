#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "board/board.h"
#include "board/boardpages.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/grid.h"

void BuildBoardPage(TalkContext &t)
{
    Grid *g = t.w->grdBoard;
    const int maxC = t.settings.gMaxC;
    g->setRedraw(false);
    g->setRows(BoardPages::Rows);
    g->setCols(maxC + 1);
    for (int c = 0; c <= maxC; ++c) {
        for (int r = 0; r < BoardPages::Rows; ++r) {
            g->setRow(r);
            g->setCol(c);
            g->setColSel(maxC);
            g->setText(QString());
            g->setCellBackColor(Colors::White);
            g->setCellAlignment(Grid::CenterBottom);
            g->setColWidth(c, BoardPages::columnWidth(maxC));
            g->setForeColor(Colors::Black);
        }
    }
    const BoardPages::CharSet set = BoardPages::nextSet(t.w->cmdKey->text());
    for (int c = 0; c <= maxC; ++c) {
        for (int r = 0; r < BoardPages::Rows; ++r)
            g->setTextMatrix(r, c, BoardPages::cell(set, maxC, r, c));
    }
    t.w->cmdKey->setText(BoardPages::captionOf(set));
    g->setRedraw(true);
}

void cmdKey_Click(TalkContext &t)
{
    BuildBoardPage(t);
}
