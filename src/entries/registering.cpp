#include "app/okdialog.h"
#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "entries/entries.h"
#include "entries/entryformat.h"
#include "modes/modes.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/services.h"
#include "platform/textbox.h"
#include "platform/twips.h"
#include "text/texttools.h"

using EntryFormat::trimSpaces;

void cmdSampADD_Click(TalkContext &t)
{
    TalkWindow *w = t.w;
    Grid *g = w->grdEx;
    const QString text = w->txtTalk->text();
    const QString stored = EntryFormat::storedForm(text);
    // The bare marker (what a list action leaves) has nothing to store.
    if (trimSpaces(text).isEmpty() || stored.isEmpty())
        return;
    BusyScope busy;
    for (int r = 0; r < g->rows(); ++r) {
        if (trimSpaces(g->textMatrix(r, 1)) == stored) {
            ShowOKDialog(t, QStringLiteral("同一文が登録されています"), OkDialog::Notice,
                         QStringLiteral("例文登録"));
            return;
        }
    }
    g->setRedraw(false);
    g->setRows(g->rows() + 1);
    g->setTextMatrix(g->rows() - 1, 1, stored);
    if (!SaveSampleFile(t)) {
        // Nothing was stored: the list stays as the file holds it.
        g->setRows(g->rows() - 1);
        g->setRedraw(true);
        return;
    }
    LoadSampleFile(t);
    IndexSampleRows(t);
    g->setTextMatrix(0, 1, EntryFormat::DiaryRow);
    g->setTextMatrix(1, 1, EntryFormat::MailRow);
    for (int r = 0; r < g->rows(); ++r) {
        if (trimSpaces(g->textMatrix(r, 1)) == stored) {
            t.gListRow = r;
            MarkListRow(g, r, 1, true);
            break;
        }
    }
    Twips::setRect(g, Twips::rect(w->grdBoard));
    g->setColWidth(0, 2500);
    g->setColWidth(1, Twips::rect(g).width() - 2500);
    g->setRedraw(true);
    ShowExampleListControls(t);
}

void cmdSampDel_Click(TalkContext &t)
{
    Grid *g = t.w->grdEx;
    // Only a sentence the user sees selected is ever deleted.
    if (!ListRowMarked(g, t.gListRow))
        return;
    const QString sentence = g->textMatrix(t.gListRow, 1);
    const QString trimmed = trimSpaces(sentence);
    if (trimmed == EntryFormat::DiaryRow || trimmed == EntryFormat::MailRow)
        return;
    ShowOKDialog(t, QStringLiteral("上記例文を削除してもいいですか？"), OkDialog::OkCancel,
                 QStringLiteral("例文の削除"));
    if (!t.OKAnswer)
        return;
    g->setRedraw(false);
    g->setTextMatrix(t.gListRow, 1, QString());
    if (SaveSampleFile(t)) {
        // A deleted sentence is no longer offered while typing.
        if (t.SampleTexts)
            t.SampleTexts->removeOne(trimmed);
    } else {
        g->setTextMatrix(t.gListRow, 1, sentence);
    }
    g->setRedraw(true);
}

void cmdRevise_Click(TalkContext &t)
{
    TalkWindow *w = t.w;
    NormalTextArea(t);
    w->txtTalk->setBackColor(w->cmdSamp->text() == ListCaption::EndDiary ? Colors::LightGreen
                                                                         : Colors::LightBlue);
    const int length = w->txtTalk->length();
    w->txtTalk->setSelStart(length > 0 ? length - 1 : 0);
    w->grdBoard->show();
    w->fraTalk->hide();
    w->fraDay->hide();
    w->fraRes->show();
    w->txtTalk->setSelLength(1);
    w->txtTalk->setFocus();
}
