#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "board/board.h"
#include "board/modifiers.h"
#include "board/speech.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/textbox.h"
#include "platform/twips.h"
#include "text/highlight.h"

namespace {

const QString FullWidthSpace = QStringLiteral("　");
// Three columns that fit the window's canvas beside the grid's margin, so the
// right-hand one shows whole.
constexpr int SelectionColumnWidth = (TalkWindow::CanvasWidth - 2 * 30) / 3;
constexpr int SelectionMargin = 30; // twips below the buttons

void paintAll(Grid *g, int lastRow, int lastCol, quint32 bgr)
{
    for (int r = 0; r <= lastRow; ++r) {
        g->setRow(r);
        g->setCol(0);
        g->setColSel(lastCol);
        g->setCellBackColor(bgr);
    }
}

void paintCell(Grid *g, int row, int col, quint32 bgr)
{
    g->setRow(row);
    g->setCol(col);
    g->setCellBackColor(bgr);
}

// The pressed first-screen character; an empty cell counts as a full-width space.
QString boardText(const TalkContext &t)
{
    const QString s = t.w->grdBoard->textMatrix(t.boardRow, t.boardCol);
    return s.isEmpty() ? FullWidthSpace : s;
}

void openSelectionScreen(TalkContext &t, const QString &s)
{
    SpeakIfVoiced(t, s, Speech::Selected);
    ShowSelectionScreen(t, t.boardCol, t.boardRow);
    // It covers the first screen, raised just enough that its buttons end inside the window.
    const QRect board = Twips::rect(t.w->grdBoard);
    const QRect buttons = Twips::rect(t.w->cmdEnd2);
    const int lowest = TalkWindow::CanvasHeight - (buttons.y() + buttons.height() + SelectionMargin);
    Twips::move(t.w->fraSet, board.left(), std::min(board.top(), lowest));
    t.w->fraSet->show();
}

// A character the full text refuses is only heard as the beep: nothing is
// spoken as entered, nothing looked up, and the selection screen stays.
bool enterCharacter(TalkContext &t, const QString &s)
{
    t.w->txtHide->setText(s);
    if (!InsertPendingChar(t))
        return false;
    t.w->fraSet->hide();
    SpeakIfVoiced(t, s, Speech::Entered);
    SuggestFromTail(t, t.w->txtTalk->text());
    return true;
}

} // namespace

void ClearBoardColours(TalkContext &t)
{
    paintAll(t.w->grdBoard, 4, t.settings.gMaxC, Colors::White);
}

void grdBoard_MouseDown(TalkContext &t)
{
    Grid *g = t.w->grdBoard;
    t.boardRow = g->row();
    t.boardCol = g->col();
    g->setRedraw(false);
    g->setEnabled(false);
    ClearBoardColours(t);
    paintCell(g, t.boardRow, t.boardCol, boardText(t) == t.gPickText ? Colors::Silver : Colors::LightGreen);
    g->setEnabled(true);
    g->setRedraw(true);
}

void grdBoard_Click(TalkContext &t)
{
    Grid *g = t.w->grdBoard;
    g->setRedraw(false);
    g->setEnabled(false);
    const QString s = boardText(t);
    t.keyBeep();
    // 0 and 1 open the selection screen, 2 and 3 enter; 1 and 3 want a second press.
    const int opt1 = t.settings.OPT1.toInt();
    if (opt1 >= 0 && opt1 <= 3) {
        const bool twoPresses = opt1 == 1 || opt1 == 3;
        if (twoPresses && s != t.gPickText) {
            t.gPickText = s;
            SpeakIfVoiced(t, s, Speech::First);
        } else {
            if (!twoPresses)
                paintCell(g, t.boardRow, t.boardCol, Colors::SystemDesktop);
            if (opt1 >= 2)
                enterCharacter(t, s);
            else
                openSelectionScreen(t, s);
        }
    }
    g->setEnabled(true);
    g->setRedraw(true);
    t.w->txtTalk->setFocus();
    if (!t.w->fraSet->isVisible())
        RestoreHighlight(t);
}

void ShowSelectionScreen(TalkContext &t, qint32 C, qint32 R)
{
    Grid *b = t.w->grdBoard2;
    auto T = [&t](int r, int c) { return t.w->grdBoard->textMatrix(r, c); };
    b->setRows(3);
    b->setCols(3);
    b->setRedraw(false);
    // Each cell shows the first-screen neighbour in its direction, where there is one.
    // The right-hand column is taken only up to column 8, on either board width.
    const bool left = C != 0, right = C <= 8;
    for (int i = 0; i < 3; ++i) {
        const int r = R - 1 + i;
        const bool rowExists = (i != 0 || R != 0) && (i != 2 || R <= 3);
        b->setTextMatrix(i, 0, rowExists && left ? T(r, C - 1) : QString());
        b->setTextMatrix(i, 1, rowExists ? T(r, C) : QString());
        b->setTextMatrix(i, 2, rowExists && right ? T(r, C + 1) : QString());
        if (rowExists)
            FillVariantCells(t, T(r, C), i);
    }
    for (int c = 0; c < 3; ++c) {
        b->setColWidth(c, SelectionColumnWidth);
        for (int r = 0; r < 3; ++r) {
            b->setRow(r);
            b->setCol(c);
            b->setCellBackColor(Colors::White);
            b->setCellAlignment(Grid::CenterBottom);
        }
    }
    b->setRedraw(true);
}

void FillVariantCells(TalkContext &t, const QString &ch, qint32 row)
{
    Grid *b = t.w->grdBoard2;
    const QString small = Modifiers::smallForm(ch);
    if (!small.isEmpty())
        b->setTextMatrix(row, 2, small);
    const Modifiers::Voicing v = Modifiers::voicing(ch);
    if (!v.left.isEmpty())
        b->setTextMatrix(row, 0, v.left);
    if (!v.right.isEmpty())
        b->setTextMatrix(row, 2, v.right);
}

void grdBoard2_MouseDown(TalkContext &t)
{
    Grid *b = t.w->grdBoard2;
    t.w->grdBoard->setEnabled(false);
    t.pickRow = b->row();
    t.pickCol = b->col();
    b->setRedraw(false);
    b->setEnabled(false);
    paintAll(b, 2, 2, Colors::White);
    paintCell(b, t.pickRow, t.pickCol,
              b->textMatrix(t.pickRow, t.pickCol) == t.gLastPick ? Colors::Silver : Colors::LightGreen);
    b->setEnabled(true);
    b->setRedraw(true);
    t.w->grdBoard->setEnabled(true);
}

void grdBoard2_Click(TalkContext &t)
{
    Grid *b = t.w->grdBoard2;
    b->setEnabled(false);
    b->setRedraw(false);
    t.keyBeep();
    const QString s = b->textMatrix(t.pickRow, t.pickCol);
    if (!s.isEmpty()) {
        const int opt2 = t.settings.OPT2.toInt();
        if (opt2 == 1 && s != t.gLastPick) {
            t.gLastPick = s;
            SpeakIfVoiced(t, s, Speech::First);
        } else if ((opt2 == 0 || opt2 == 1) && enterCharacter(t, s)) {
            t.gLastPick = s;
        }
        FocusAndHighlight(t);
    }
    b->setEnabled(true);
    b->setRedraw(true);
}
