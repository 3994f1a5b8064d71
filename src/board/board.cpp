#include "board/board.h"

#include "board/boardpages.h"
#include "board/candidatebar.h"
#include "board/selectioncells.h"
#include "board/speech.h"
#include "board/suggestions.h"
#include "platform/character.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/twips.h"
#include "shared/canvas.h"
#include "shared/sentence.h"
#include "shared/sharedstate.h"
#include "text/highlight.h"

namespace {

const QString FullWidthSpace = QStringLiteral("　");
// Three columns that fit the window's canvas beside the grid's margin, so the
// right-hand one shows whole.
constexpr int SelectionColumnWidth = (Canvas::Width - 2 * 30) / 3;
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

} // namespace

Board::Board(const Controls &c, Sentence &sentence, SharedState &shared, Suggestions &suggestions,
             CandidateBar &candidates)
    : m_c(c), m_sentence(sentence), m_shared(shared), m_suggestions(suggestions), m_candidates(candidates)
{
    // A kana the strip offers is entered as if it had been picked on the board.
    m_candidates.setEnterKana([this](const QString &kana) { enterCharacter(kana); });
}

void Board::BuildBoardPage()
{
    Grid *g = m_c.grdBoard;
    const int maxC = m_shared.settings.gMaxC;
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
    const CharSet set = BoardPages::nextSet(m_shared.state.charSet());
    for (int c = 0; c <= maxC; ++c) {
        for (int r = 0; r < BoardPages::Rows; ++r)
            g->setTextMatrix(r, c, BoardPages::cell(set, maxC, r, c));
    }
    m_shared.state.setCharSet(set);
    g->setChosenCell(-1, -1);
    g->setRedraw(true);
}

void Board::cmdKey_Click()
{
    BuildBoardPage();
}

void Board::cmdEnd2_Click()
{
    m_shared.keyBeep();
    m_c.txtTalk->setFocus();
    m_shared.state.setSelectionOpen(false);
}

// The pressed first-screen character; an empty cell counts as a full-width space.
QString Board::boardText() const
{
    const QString s = m_c.grdBoard->textMatrix(boardRow, boardCol);
    return s.isEmpty() ? FullWidthSpace : s;
}

void Board::openSelectionScreen(const QString &s)
{
    SpeakIfVoiced(s, Speech::Selected);
    ShowSelectionScreen(boardCol, boardRow);
    // It covers the first screen, raised just enough that its buttons end inside the window.
    const QRect board = Twips::rect(m_c.grdBoard);
    const QRect buttons = Twips::rect(m_c.cmdEnd2);
    const int lowest = Canvas::Height - (buttons.y() + buttons.height() + SelectionMargin);
    Twips::move(m_c.fraSet, board.left(), std::min(board.top(), lowest));
    m_shared.state.setSelectionOpen(true);
}

// A character the full text refuses is only heard as the beep: nothing is
// spoken as entered, nothing looked up, and the selection screen stays.
bool Board::enterCharacter(const QString &s)
{
    m_shared.state.setPendingChar(s);
    if (!InsertPendingChar())
        return false;
    m_shared.state.setSelectionOpen(false);
    SpeakIfVoiced(s, Speech::Entered);
    m_candidates.afterEntry();
    m_suggestions.SuggestFromTail(m_sentence.shown());
    return true;
}

void Board::SpeakIfVoiced(const QString &text, const QString &tag)
{
    Speech::speakIfVoiced(m_shared, text, tag);
}

void Board::ClearBoardColours()
{
    paintAll(m_c.grdBoard, 4, m_shared.settings.gMaxC, Colors::White);
    m_c.grdBoard->setChosenCell(-1, -1);
}

namespace {

// A press beside the cells (the board's bare edge) presses none of them, not the last one again.
bool onACell(const Grid *g)
{
    return g->mouseRow() >= 0 && g->mouseCol() >= 0;
}

} // namespace

void Board::grdBoard_MouseDown()
{
    Grid *g = m_c.grdBoard;
    if (!onACell(g))
        return;
    boardRow = g->row();
    boardCol = g->col();
    g->setRedraw(false);
    g->setEnabled(false);
    ClearBoardColours();
    paintCell(g, boardRow, boardCol, boardText() == gPickText ? Colors::Silver : Colors::LightGreen);
    g->setChosenCell(boardRow, boardCol);
    g->setEnabled(true);
    g->setRedraw(true);
}

void Board::grdBoard_Click()
{
    Grid *g = m_c.grdBoard;
    if (!onACell(g))
        return;
    g->setRedraw(false);
    g->setEnabled(false);
    const QString s = boardText();
    m_shared.keyBeep();
    if (const auto press = m_shared.settings.firstScreenPress()) {
        if (press->twoPresses && s != gPickText) {
            gPickText = s;
            SpeakIfVoiced(s, Speech::First);
        } else {
            if (!press->twoPresses)
                paintCell(g, boardRow, boardCol, Colors::SystemDesktop);
            if (press->enters)
                enterCharacter(s);
            else
                openSelectionScreen(s);
        }
    }
    g->setEnabled(true);
    g->setRedraw(true);
    m_c.txtTalk->setFocus();
    if (!m_shared.state.selectionOpen())
        m_sentence.restoreHighlight();
}

void Board::ShowSelectionScreen(qint32 C, qint32 R)
{
    Grid *b = m_c.grdBoard2;
    b->setRows(3);
    b->setCols(3);
    b->setRedraw(false);
    const SelectionTable cells =
        SelectionCells([this](int r, int c) { return m_c.grdBoard->textMatrix(r, c); }, C, R);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            b->setTextMatrix(r, c, cells[size_t(r)][size_t(c)]);
    for (int c = 0; c < 3; ++c) {
        b->setColWidth(c, SelectionColumnWidth);
        for (int r = 0; r < 3; ++r) {
            b->setRow(r);
            b->setCol(c);
            b->setCellBackColor(Colors::White);
            b->setCellAlignment(Grid::CenterBottom);
        }
    }
    b->setChosenCell(-1, -1);
    b->setRedraw(true);
}

void Board::grdBoard2_MouseDown()
{
    Grid *b = m_c.grdBoard2;
    if (!onACell(b))
        return;
    m_c.grdBoard->setEnabled(false);
    pickRow = b->row();
    pickCol = b->col();
    b->setRedraw(false);
    b->setEnabled(false);
    paintAll(b, 2, 2, Colors::White);
    paintCell(b, pickRow, pickCol,
              b->textMatrix(pickRow, pickCol) == gLastPick ? Colors::Silver : Colors::LightGreen);
    b->setChosenCell(pickRow, pickCol);
    b->setEnabled(true);
    b->setRedraw(true);
    m_c.grdBoard->setEnabled(true);
}

void Board::grdBoard2_Click()
{
    Grid *b = m_c.grdBoard2;
    if (!onACell(b))
        return;
    b->setEnabled(false);
    b->setRedraw(false);
    m_shared.keyBeep();
    const QString s = b->textMatrix(pickRow, pickCol);
    if (!s.isEmpty()) {
        const auto twoPresses = m_shared.settings.selectionTwoPresses();
        if (twoPresses == true && s != gLastPick) {
            gLastPick = s;
            SpeakIfVoiced(s, Speech::First);
        } else if (twoPresses.has_value() && enterCharacter(s)) {
            gLastPick = s;
        }
        FocusAndHighlight(m_c.txtTalk, m_sentence);
    }
    b->setEnabled(true);
    b->setRedraw(true);
}

bool Board::InsertPendingChar()
{
    if (!m_sentence.insertAtHighlight(m_shared.state.pendingChar())) {
        m_shared.sv.beeper->beep(); // the text is full: say so rather than cut the marker off
        return false;
    }
    return true;
}

void Board::cmdspace_Click()
{
    m_shared.keyBeep();
    const bool letters = m_shared.state.charSet() == CharSet::Alphanumeric;
    m_shared.state.setPendingChar(letters ? QStringLiteral(" ") : FullWidthSpace);
    InsertPendingChar();
}
