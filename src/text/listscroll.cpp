#include "text/listscroll.h"

#include "platform/controls.h"
#include "platform/grid.h"
#include "shared/palette.h"
#include "shared/sharedstate.h"
#include "text/keyrepeat.h"

ListScroll::ListScroll(const Controls &c, SharedState &shared, KeyRepeat &keyRepeat)
    : m_c(c), m_shared(shared), m_keyRepeat(keyRepeat)
{}

bool ListScroll::ScrollListStep(int direction)
{
    const ListId list = m_shared.state.shownList();
    if (Grid *g = m_c.lists.of(list)) {
        const int from = m_shared.state.listRow();
        const bool atEnd = direction < 0 ? from == 0 : from + 1 >= g->rows();
        if (atEnd)
            return false;
        MoveListRow(m_shared.state, list, g, from, from + direction);
        const int row = from + direction;
        m_shared.state.setListRow(row);
        if (direction < 0 && g->topRow() > 0)
            g->setTopRow(g->topRow() - 1);
        // Downwards the view follows once the selection passes the third visible row.
        if (direction > 0 && g->topRow() + 1 < row - 1)
            g->setTopRow(g->topRow() + 1);
    }
    m_c.txtTalk->setFocus();
    return true;
}

void ListScroll::cmdUp_MouseDown()
{
    m_c.cmdUp->setBackColor(Palette::UpKeyDown);
    m_keyRepeat.hold([this] { return ScrollListStep(-1); });
}

void ListScroll::cmdUp_MouseUp()
{
    m_c.cmdUp->setBackColor(Palette::PaleGreen);
    m_keyRepeat.release();
}

void ListScroll::cmdDown_MouseDown()
{
    m_c.cmdDown->setBackColor(Palette::DownKeyDown);
    m_keyRepeat.hold([this] { return ScrollListStep(+1); });
}

void ListScroll::cmdDown_MouseUp()
{
    m_c.cmdDown->setBackColor(Colors::LightGreen);
    m_keyRepeat.release();
}
