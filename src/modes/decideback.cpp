#include "app/okdialog.h"
#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "entries/entries.h"
#include "entries/entryformat.h"
#include "entries/mailwindow.h"
#include "modes/decide.h"
#include "modes/modes.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/services.h"
#include "platform/textbox.h"
#include "text/highlight.h"
#include "text/texttools.h"

namespace {

void setText(TextBox *box, const DecideMath::Edit &edit)
{
    box->setText(edit.text);
    box->setSelStart(edit.caret);
}

void backToBoard(TalkWindow *w, Grid *list)
{
    w->fraTalk->hide();
    w->fraDay->hide();
    w->fraRes->show();
    list->hide();
    w->grdBoard->show();
}

// Opens a diary, address or mail row in the text box, widened, for viewing.
void openEntry(TalkContext &t, Grid *list, int column, quint32 back, const QString &listCaption,
               const QString &backCaption)
{
    TalkWindow *w = t.w;
    t.gPickText = list->textMatrix(t.gListRow, column);
    w->txtTalk->setText(EntryFormat::trimSpaces(t.gPickText));
    w->txtTalk->setSelStart(w->txtTalk->length());
    // The highlighted row is the one opened, so a save puts the text back there.
    t.EditRow = t.gListRow;
    w->fraTalk->hide();
    w->fraRes->hide();
    w->fraDay->show();
    w->txtTalk->setBackColor(back);
    w->cmdWide->setText(QStringLiteral("狭める"));
    if (!listCaption.isEmpty())
        w->cmdSamp->setText(listCaption);
    w->cmdBack->setText(backCaption);
    WidenTextArea(t);
    list->hide();
}

void hideSampleButtons(TalkWindow *w)
{
    w->cmdSampADD->hide();
    w->cmdSampDel->hide();
}

// Decide on the example list; false when it moved on to another list.
bool decideExample(TalkContext &t)
{
    TalkWindow *w = t.w;
    t.gPickText = w->grdEx->textMatrix(t.gListRow, 1);
    if (t.gPickText == EntryFormat::DiaryRow || t.gPickText == EntryFormat::MailRow) {
        if (t.gPickText == EntryFormat::DiaryRow) {
            LoadDiaryFile(t);
            SortDiaryList(t);
            w->cmdSamp->setText(ListCaption::EndDiary);
        } else {
            LoadAddressFile(t);
            IndexAddressRows(t);
            w->cmdSamp->setText(ListCaption::EndAddresses);
        }
        hideSampleButtons(w);
        w->grdEx->hide();
        return false;
    }
    setText(w->txtTalk, DecideMath::insertSentence(w->txtTalk->text(), w->txtTalk->selStart(), t.gPickText));
    backToBoard(w, w->grdEx);
    w->cmdSamp->setText(ListCaption::ShowExamples);
    w->cmdSampDel->hide();
    w->cmdSampADD->show();
    return true;
}

} // namespace

void cmdDec_Click(TalkContext &t)
{
    TalkWindow *w = t.w;
    // Decide takes only a row the user sees selected.
    if (Grid *list = ListOnShow(w); list && !ListRowMarked(list, t.gListRow)) {
        FocusAndHighlight(t);
        return;
    }
    bool listDone = true;
    {
        BusyScope busy(w, false);
        const quint32 lightBlue = Colors::LightBlue;
        if (!w->grdSp->isHidden()) {
            t.gPickText = w->grdSp->textMatrix(t.gListRow, 0);
            setText(w->txtTalk, DecideMath::replaceTyped(w->txtTalk->text(), w->txtTalk->selStart(),
                                                         t.gPickText, t.settings.Sample));
            backToBoard(w, w->grdSp);
        } else if (!w->grdEx->isHidden()) {
            listDone = decideExample(t);
        } else if (!w->grdDay->isHidden()) {
            openEntry(t, w->grdDay, 1, Colors::LightGreen, QString(), QStringLiteral("戻る"));
        } else if (!w->grdAD->isHidden()) {
            openEntry(t, w->grdAD, 1, lightBlue, ListCaption::EndAddresses, QStringLiteral("決定"));
        } else if (!w->grdMail->isHidden()) {
            openEntry(t, w->grdMail, 0, lightBlue, ListCaption::EndMail, QStringLiteral("決定"));
        }
        if (listDone)
            w->fraTalk->hide();
    }
    // Moving on to another list keeps its frame; the text box gets the focus either way.
    if (listDone)
        FocusAndHighlight(t);
    else
        w->txtTalk->setFocus();
}

void cmdBack_Click(TalkContext &t)
{
    TalkWindow *w = t.w;
    const QString back = w->cmdBack->text();
    if (back == QStringLiteral("戻る")) {
        if (w->cmdSamp->text() == ListCaption::EndDiary) {
            LoadDiaryFile(t);
            SortDiaryList(t);
        }
        w->fraDay->hide();
        w->fraTalk->show();
        NormalTextArea(t);
        return;
    }
    if (back != QStringLiteral("決定"))
        return;
    if (w->cmdSamp->text() == ListCaption::EndAddresses) {
        const auto recipient = DecideMath::splitAddress(w->txtTalk->text());
        if (!recipient) {
            ShowOKDialog(t, QStringLiteral("名前、アドレスは、カンマで区切ってください。"), OkDialog::Notice,
                         QStringLiteral("メルアド登録"));
            return;
        }
        t.gMailName = recipient->name;
        t.gMailAddr = recipient->address;
        LoadMailFile(t);
        w->cmdSamp->setText(ListCaption::EndMail);
        hideSampleButtons(w);
        w->fraDay->hide();
        w->fraTalk->show();
        w->txtTalk->setFocus();
        return;
    }
    const QString text = w->txtTalk->text();
    ShowMailWindow(t, t.gMailName, t.gMailAddr, text.left(10), text);
}
