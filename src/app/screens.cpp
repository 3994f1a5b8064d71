#include "app/screens.h"

#include "app/talkwindow.h"
#include "platform/controls.h"
#include "platform/grid.h"

#include <array>

namespace {

std::array<Grid *, 5> lists(const TalkWindow &w)
{
    return {w.grdSp, w.grdEx, w.grdDay, w.grdAD, w.grdMail};
}

void showOnly(TalkWindow &w, Grid *shown)
{
    for (Grid *g : lists(w))
        if (g != shown)
            g->hide();
    if (shown)
        shown->show();
}

} // namespace

Mode CurrentMode(const TalkWindow &w)
{
    if (!w.grdSp->isHidden())
        return Mode::Suggest;
    const QString caption = w.cmdSamp->text();
    if (caption == ListCaption::EndExamples)
        return Mode::ExampleList;
    if (caption == ListCaption::EndDiary)
        return w.grdDay->isHidden() ? Mode::DiaryEntry : Mode::DiaryList;
    if (caption == ListCaption::EndAddresses)
        return w.grdAD->isHidden() ? Mode::AddressEntry : Mode::AddressList;
    if (caption == ListCaption::EndMail)
        return w.grdMail->isHidden() ? Mode::MailEntry : Mode::MailList;
    return Mode::Board;
}

Grid *ListOnShow(const TalkWindow &w)
{
    for (Grid *g : lists(w))
        if (!g->isHidden())
            return g;
    return nullptr;
}

namespace Screen {

void board(TalkWindow &w)
{
    showOnly(w, nullptr);
    w.grdBoard->show();
    w.fraTalk->hide();
    w.fraDay->hide();
    w.fraRes->show();
}

void list(TalkWindow &w, Grid *list)
{
    w.grdBoard->hide();
    showOnly(w, list);
    w.fraDay->hide();
    w.fraRes->hide();
    w.fraTalk->show();
}

void entry(TalkWindow &w)
{
    showOnly(w, nullptr);
    w.fraTalk->hide();
    w.fraRes->hide();
    w.fraDay->show();
}

} // namespace Screen

void ShowListButton(TalkWindow &w, const QString &caption, bool add, bool del)
{
    w.cmdSamp->setText(caption);
    w.cmdSampADD->setVisible(add);
    w.cmdSampDel->setVisible(del);
}

void ShowExampleListControls(TalkWindow &w)
{
    Screen::list(w, w.grdEx);
    ShowListButton(w, ListCaption::EndExamples, false, true);
}
