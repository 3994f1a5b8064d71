#include "text/texttools.h"

#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "entries/entries.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/services.h"
#include "platform/textbox.h"
#include "platform/twips.h"
#include "text/keyrepeat.h"

#include <optional>

namespace {

constexpr int NormalFrame = 2445, NormalText = 2295;
constexpr int FrameMargin = 3480, TextMargin = 3630;
const QString Widen = QStringLiteral("広げる");
const QString Narrow = QStringLiteral("狭める");

// The first visible list grid, if any.
std::optional<ListGrid> shownList(TalkWindow *w)
{
    for (const ListGrid &list : ListGrids(w))
        if (!list.grid->isHidden())
            return list;
    return std::nullopt;
}

} // namespace

void NormalTextArea(TalkContext &t)
{
    t.w->cmdWide->setText(Widen);
    Twips::setHeight(t.w->fraText, NormalFrame);
    Twips::setHeight(t.w->txtTalk, NormalText);
}

void WidenTextArea(TalkContext &t)
{
    Twips::setHeight(t.w->fraText, t.w->heightTwips() - FrameMargin);
    Twips::setHeight(t.w->txtTalk, t.w->heightTwips() - TextMargin);
}

bool TextAreaIsTall(const TalkContext &t)
{
    return Twips::rect(t.w->txtTalk).height() > 2300;
}

void cmdWide_Click(TalkContext &t)
{
    if (TextAreaIsTall(t)) {
        NormalTextArea(t);
    } else {
        t.w->cmdWide->setText(Narrow);
        WidenTextArea(t);
    }
    t.w->txtTalk->setFocus();
}

void cmdCopy_Click(TalkContext &t)
{
    t.sv.clipboard->clear();
    t.sv.clipboard->setText(t.w->txtTalk->text());
}

void cmdPaste_Click(TalkContext &t)
{
    TextBox *box = t.w->txtTalk;
    const int start = box->selStart(), length = box->selLength();
    box->setText(box->text() + t.sv.clipboard->text());
    // The caret stays where it was.
    box->setSelStart(start);
    box->setSelLength(length);
    t.sv.clipboard->clear();
}

bool ScrollListStep(TalkContext &t, int direction)
{
    if (const auto list = shownList(t.w)) {
        Grid *g = list->grid;
        const bool atEnd = direction < 0 ? t.gListRow == 0 : t.gListRow + 1 >= g->rows();
        if (atEnd)
            return false;
        PaintListRow(g, t.gListRow, list->startColumn, Colors::White);
        t.gListRow += direction;
        PaintListRow(g, t.gListRow, list->startColumn, Colors::LightGreen);
        if (direction < 0 && g->topRow() > 0)
            g->setTopRow(g->topRow() - 1);
        // Downwards the view follows once the selection passes the third visible row.
        if (direction > 0 && g->topRow() + 1 < t.gListRow - 1)
            g->setTopRow(g->topRow() + 1);
    }
    t.w->txtTalk->setFocus();
    return true;
}

void cmdUp_MouseDown(TalkContext &t)
{
    t.w->cmdUp->setBackColor(0x00C000);
    t.keyHeld = true;
    t.keyRepeat->hold([&t] { return ScrollListStep(t, -1); });
}

void cmdUp_MouseUp(TalkContext &t)
{
    t.w->cmdUp->setBackColor(0xC0FFC0);
    t.keyRepeat->release();
}

void cmdDown_MouseDown(TalkContext &t)
{
    t.w->cmdDown->setBackColor(0x008000);
    t.keyHeld = true;
    t.keyRepeat->hold([&t] { return ScrollListStep(t, +1); });
}

void cmdDown_MouseUp(TalkContext &t)
{
    t.w->cmdDown->setBackColor(0x80FF80);
    t.keyRepeat->release();
}
