#include "modes/listmodes.h"

#include "app/okdialog.h"
#include "app/screens.h"
#include "app/sharedstate.h"
#include "app/talkwindow.h"
#include "board/board.h"
#include "board/insertion.h"
#include "entries/entryfiles.h"
#include "entries/entryformat.h"
#include "entries/listselection.h"
#include "modes/decide.h"
#include "modes/kanaindexrows.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/services.h"
#include "platform/textbox.h"
#include "platform/twips.h"
#include "text/textarea.h"

ListModes::ListModes(TalkWindow &w, SharedState &shared, Board &board, TextArea &textArea, EntryFiles &files,
                     KanaIndexRows &indexRows)
    : m_w(w), m_shared(shared), m_board(board), m_textArea(textArea), m_files(files), m_indexRows(indexRows)
{}

void ListModes::ApplyBoardConfiguration()
{
    m_w.txtTalk->setBackColor(Colors::White);
    Screen::board(m_w);
    ShowListButton(m_w, ListCaption::ShowExamples, true, false);
}

void ListModes::ShowExampleList()
{
    Grid *g = m_w.grdEx;
    g->setRedraw(false);
    Twips::setRect(g, Twips::rect(m_w.grdBoard));
    g->setCols(2);
    g->setColWidth(0, 2400);
    g->setColWidth(1, Twips::rect(g).width() - 2400 - 338);
    m_files.LoadSampleFile();
    m_indexRows.IndexSampleRows();
    g->setTextMatrix(0, 1, EntryFormat::DiaryRow);
    g->setTextMatrix(1, 1, EntryFormat::MailRow);
    m_shared.gListRow = 0;
    MarkListRow(g, 0, 1, true);
    g->setRedraw(true);
    ShowExampleListControls(m_w);
}

// Asks whether to store the open entry; true when it was stored.
bool ListModes::askAndSave(const QString &prompt, const QString &title,
                           bool (EntryFiles::*save)(const QString &))
{
    ShowOKDialog(m_shared, prompt, OkDialog::YesNo, title);
    return m_shared.OKAnswer && (m_files.*save)(m_w.txtTalk->text());
}

// Opens the example list or closes a list mode; a missing separator keeps the address mode.
void ListModes::switchList()
{
    TextBox *box = m_w.txtTalk;
    const QString caption = m_w.cmdSamp->text();
    const Mode mode = CurrentMode(m_w);
    const QString mailEnd = QStringLiteral("メールの終了");
    if (caption == ListCaption::ShowExamples) {
        ShowExampleList();
    } else if (caption == ListCaption::EndExamples) {
        ApplyBoardConfiguration();
    } else if (caption == ListCaption::EndDiary) {
        // Declining keeps the text; a failed save keeps it too.
        if (mode != Mode::DiaryList && askAndSave(QStringLiteral("日記を登録して終了します"),
                                                  QStringLiteral("日記の終了"), &EntryFiles::SaveDiaryFile))
            box->setText(QString());
        ApplyBoardConfiguration();
    } else if (caption == ListCaption::EndAddresses) {
        bool keep = false;
        // The bare marker a list action leaves holds nothing to store.
        if (!Insertion::holdsNothing(box->text())) {
            if (!DecideMath::hasSeparator(box->text())) {
                ShowOKDialog(m_shared, QStringLiteral("名前、アドレスは、カンマで区切ってください。"),
                             OkDialog::Notice, QStringLiteral("メルアド登録"));
                return;
            }
            if (mode != Mode::AddressList) {
                ShowOKDialog(m_shared, QStringLiteral("メルアド登録して終了します"), OkDialog::YesNo,
                             mailEnd);
                keep = m_shared.OKAnswer && !m_files.SaveAddressFile(box->text());
            }
        }
        if (!keep)
            box->setText(QString());
        ApplyBoardConfiguration();
    } else if (caption == ListCaption::EndMail) {
        bool keep = false;
        if (!box->text().isEmpty() && mode != Mode::MailList) {
            ShowOKDialog(m_shared, QStringLiteral("メールを登録して終了します"), OkDialog::YesNo, mailEnd);
            keep = m_shared.OKAnswer && !m_files.SaveMailFile(box->text());
        }
        if (!keep)
            box->setText(QString());
        ApplyBoardConfiguration();
    }
}

void ListModes::cmdSamp_Click()
{
    {
        BusyScope busy(&m_w);
        m_textArea.NormalTextArea();
        switchList();
    }
    TextBox *box = m_w.txtTalk;
    box->setFocus();
    if (!box->text().endsWith(QLatin1Char('_'))) {
        box->setText(box->text() + QStringLiteral("_"));
        // The next character goes before the new marker, not at the start.
        box->setSelStart(box->length() - 1);
        box->setSelLength(1);
    }
}

void ListModes::cmdStart_Click()
{
    ShowOKDialog(m_shared, QStringLiteral("はじめからでよろしいですか？"), OkDialog::OkCancel,
                 QStringLiteral("例文登録"));
    if (!m_shared.OKAnswer)
        return;
    m_w.txtTalk->setText(QString());
    m_w.grdBoard->setRedraw(false);
    m_board.ClearBoardColours();
    m_w.grdBoard->setRedraw(true);
}
