#include "text/listscroll.h"

#include "app/screens.h"
#include "app/sharedstate.h"
#include "app/talkwindow.h"
#include "entries/listselection.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/textbox.h"
#include "text/keyrepeat.h"

ListScroll::ListScroll(TalkWindow &w, SharedState &shared, KeyRepeat &keyRepeat)
    : m_w(w), m_shared(shared), m_keyRepeat(keyRepeat)
{}

bool ListScroll::ScrollListStep(int direction)
{
    if (Grid *g = ListOnShow(m_w)) {
        const int startColumn = ListStartColumn(m_w, g);
        qint32 &row = m_shared.gListRow;
        const bool atEnd = direction < 0 ? row == 0 : row + 1 >= g->rows();
        if (atEnd)
            return false;
        PaintListRow(g, row, startColumn, Colors::White);
        row += direction;
        MarkListRow(g, row, startColumn, false);
        if (direction < 0 && g->topRow() > 0)
            g->setTopRow(g->topRow() - 1);
        // Downwards the view follows once the selection passes the third visible row.
        if (direction > 0 && g->topRow() + 1 < row - 1)
            g->setTopRow(g->topRow() + 1);
    }
    m_w.txtTalk->setFocus();
    return true;
}

void ListScroll::cmdUp_MouseDown()
{
    m_w.cmdUp->setBackColor(0x00C000);
    m_keyRepeat.hold([this] { return ScrollListStep(-1); });
}

void ListScroll::cmdUp_MouseUp()
{
    m_w.cmdUp->setBackColor(0xC0FFC0);
    m_keyRepeat.release();
}

void ListScroll::cmdDown_MouseDown()
{
    m_w.cmdDown->setBackColor(0x008000);
    m_keyRepeat.hold([this] { return ScrollListStep(+1); });
}

void ListScroll::cmdDown_MouseUp()
{
    m_w.cmdDown->setBackColor(0x80FF80);
    m_keyRepeat.release();
}
