#include "app/okdialog.h"
#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "board/board.h"
#include "board/insertion.h"
#include "entries/entries.h"
#include "entries/entryformat.h"
#include "modes/decide.h"
#include "modes/modes.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/services.h"
#include "platform/textbox.h"
#include "platform/twips.h"
#include "text/texttools.h"

Mode CurrentMode(const TalkWindow &w)
{
    const QString caption = w.cmdSamp->text();
    if (caption == ListCaption::EndExamples)
        return Mode::ExampleList;
    if (caption == ListCaption::EndDiary)
        return w.grdDay->isHidden() ? Mode::DiaryEntry : Mode::DiaryList;
    if (caption == ListCaption::EndAddresses)
        return w.grdAD->isHidden() ? Mode::AddressEntry : Mode::AddressList;
    if (caption == ListCaption::EndMail)
        return w.grdMail->isHidden() ? Mode::MailEntry : Mode::MailList;
    return w.grdSp->isHidden() ? Mode::Board : Mode::Suggest;
}

void ApplyBoardConfiguration(TalkContext &t)
{
    TalkWindow *w = t.w;
    w->txtTalk->setBackColor(Colors::White);
    w->grdBoard->show();
    for (Grid *g : {w->grdEx, w->grdSp, w->grdDay, w->grdAD, w->grdMail})
        g->hide();
    w->cmdSamp->setText(ListCaption::ShowExamples);
    w->cmdSampDel->hide();
    w->cmdSampADD->show();
    w->fraRes->show();
    w->fraTalk->hide();
    w->fraDay->hide();
}

void ShowExampleList(TalkContext &t)
{
    TalkWindow *w = t.w;
    Grid *g = w->grdEx;
    g->setRedraw(false);
    Twips::setRect(g, Twips::rect(w->grdBoard));
    g->setCols(2);
    g->setColWidth(0, 2400);
    g->setColWidth(1, Twips::rect(g).width() - 2400 - 338);
    LoadSampleFile(t);
    IndexSampleRows(t);
    g->setTextMatrix(0, 1, EntryFormat::DiaryRow);
    g->setTextMatrix(1, 1, EntryFormat::MailRow);
    t.gListRow = 0;
    MarkListRow(g, 0, 1, true);
    g->setRedraw(true);
    ShowExampleListControls(t);
}

void ShowExampleListControls(TalkContext &t)
{
    TalkWindow *w = t.w;
    w->grdBoard->hide();
    w->grdEx->show();
    for (Grid *other : {w->grdSp, w->grdDay, w->grdAD, w->grdMail})
        other->hide();
    w->cmdSamp->setText(ListCaption::EndExamples);
    w->cmdSampDel->show();
    w->cmdSampADD->hide();
    w->fraDay->hide();
    w->fraRes->hide();
    w->fraTalk->show();
}

namespace {

// Asks whether to store the open entry; true when it was stored.
bool askAndSave(TalkContext &t, const QString &prompt, const QString &title,
                bool (*save)(TalkContext &, const QString &))
{
    ShowOKDialog(t, prompt, OkDialog::YesNo, title);
    return t.OKAnswer && save(t, t.w->txtTalk->text());
}

// Opens the example list or closes a list mode; a missing separator keeps the address mode.
void switchList(TalkContext &t)
{
    TextBox *box = t.w->txtTalk;
    const QString caption = t.w->cmdSamp->text();
    const QString mailEnd = QStringLiteral("メールの終了");
    if (caption == ListCaption::ShowExamples) {
        ShowExampleList(t);
    } else if (caption == ListCaption::EndExamples) {
        ApplyBoardConfiguration(t);
    } else if (caption == ListCaption::EndDiary) {
        // Declining keeps the text; a failed save keeps it too.
        if (t.w->grdDay->isHidden() && askAndSave(t, QStringLiteral("日記を登録して終了します"),
                                                  QStringLiteral("日記の終了"), SaveDiaryFile))
            box->setText(QString());
        ApplyBoardConfiguration(t);
    } else if (caption == ListCaption::EndAddresses) {
        bool keep = false;
        // The bare marker a list action leaves holds nothing to store.
        if (!Insertion::holdsNothing(box->text())) {
            if (!DecideMath::hasSeparator(box->text())) {
                ShowOKDialog(t, QStringLiteral("名前、アドレスは、カンマで区切ってください。"),
                             OkDialog::Notice, QStringLiteral("メルアド登録"));
                return;
            }
            if (t.w->grdAD->isHidden()) {
                ShowOKDialog(t, QStringLiteral("メルアド登録して終了します"), OkDialog::YesNo, mailEnd);
                keep = t.OKAnswer && !SaveAddressFile(t, box->text());
            }
        }
        if (!keep)
            box->setText(QString());
        ApplyBoardConfiguration(t);
    } else if (caption == ListCaption::EndMail) {
        bool keep = false;
        if (!box->text().isEmpty() && t.w->grdMail->isHidden()) {
            ShowOKDialog(t, QStringLiteral("メールを登録して終了します"), OkDialog::YesNo, mailEnd);
            keep = t.OKAnswer && !SaveMailFile(t, box->text());
        }
        if (!keep)
            box->setText(QString());
        ApplyBoardConfiguration(t);
    }
}

} // namespace

void cmdSamp_Click(TalkContext &t)
{
    {
        BusyScope busy(t.w);
        NormalTextArea(t);
        switchList(t);
    }
    TextBox *box = t.w->txtTalk;
    box->setFocus();
    if (!box->text().endsWith(QLatin1Char('_'))) {
        box->setText(box->text() + QStringLiteral("_"));
        // The next character goes before the new marker, not at the start.
        box->setSelStart(box->length() - 1);
        box->setSelLength(1);
    }
}

void cmdStart_Click(TalkContext &t)
{
    ShowOKDialog(t, QStringLiteral("はじめからでよろしいですか？"), OkDialog::OkCancel,
                 QStringLiteral("例文登録"));
    if (!t.OKAnswer)
        return;
    t.w->txtTalk->setText(QString());
    t.w->grdBoard->setRedraw(false);
    ClearBoardColours(t);
    t.w->grdBoard->setRedraw(true);
}
