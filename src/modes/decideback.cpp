#include "modes/decideback.h"

#include "app/okdialog.h"
#include "app/screens.h"
#include "app/sharedstate.h"
#include "app/talkwindow.h"
#include "entries/entryfiles.h"
#include "entries/entryformat.h"
#include "entries/listselection.h"
#include "entries/mailwindow.h"
#include "modes/decide.h"
#include "modes/kanaindexrows.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/services.h"
#include "platform/textbox.h"
#include "text/highlight.h"
#include "text/textarea.h"

namespace {

void setText(TextBox *box, const DecideMath::Edit &edit)
{
    box->setText(edit.text);
    box->setSelStart(edit.caret);
}

} // namespace

DecideBack::DecideBack(TalkWindow &w, SharedState &shared, TextArea &textArea, EntryFiles &files,
                       KanaIndexRows &indexRows)
    : m_w(w), m_shared(shared), m_textArea(textArea), m_files(files), m_indexRows(indexRows)
{}

// Opens a diary, address or mail row in the text box, widened, for viewing.
void DecideBack::openEntry(Grid *list, int column, quint32 back, const QString &listCaption,
                           const QString &backCaption)
{
    m_shared.gPickText = list->textMatrix(m_shared.gListRow, column);
    m_w.txtTalk->setText(EntryFormat::trimSpaces(m_shared.gPickText));
    m_w.txtTalk->setSelStart(m_w.txtTalk->length());
    // The highlighted row is the one opened, so a save puts the text back there.
    m_shared.EditRow = m_shared.gListRow;
    m_w.txtTalk->setBackColor(back);
    m_w.cmdWide->setText(QStringLiteral("狭める"));
    if (!listCaption.isEmpty())
        m_w.cmdSamp->setText(listCaption);
    m_w.cmdBack->setText(backCaption);
    m_textArea.WidenTextArea();
    Screen::entry(m_w);
}

void DecideBack::showAddressList()
{
    m_files.LoadAddressFile();
    m_indexRows.IndexAddressRows();
    Screen::list(m_w, m_w.grdAD);
    ShowListButton(m_w, ListCaption::EndAddresses, false, false);
}

void DecideBack::showMailList()
{
    m_files.LoadMailFile();
    Screen::list(m_w, m_w.grdMail);
    ShowListButton(m_w, ListCaption::EndMail, false, false);
}

// Decide on the example list; false when it moved on to another list.
bool DecideBack::decideExample()
{
    m_shared.gPickText = m_w.grdEx->textMatrix(m_shared.gListRow, 1);
    if (m_shared.gPickText == EntryFormat::DiaryRow) {
        m_files.LoadDiaryFile();
        m_files.SortDiaryList();
        Screen::list(m_w, m_w.grdDay);
        ShowListButton(m_w, ListCaption::EndDiary, false, false);
        return false;
    }
    if (m_shared.gPickText == EntryFormat::MailRow) {
        showAddressList();
        return false;
    }
    setText(m_w.txtTalk,
            DecideMath::insertSentence(m_w.txtTalk->text(), m_w.txtTalk->selStart(), m_shared.gPickText));
    Screen::board(m_w);
    ShowListButton(m_w, ListCaption::ShowExamples, true, false);
    return true;
}

void DecideBack::cmdDec_Click()
{
    // Decide takes only a row the user sees selected.
    if (Grid *list = ListOnShow(m_w); list && !ListRowMarked(list, m_shared.gListRow)) {
        FocusAndHighlight(m_w.txtTalk);
        return;
    }
    bool listDone = true;
    {
        BusyScope busy(&m_w, false);
        switch (CurrentMode(m_w)) {
        case Mode::Suggest:
            m_shared.gPickText = m_w.grdSp->textMatrix(m_shared.gListRow, 0);
            setText(m_w.txtTalk, DecideMath::replaceTyped(m_w.txtTalk->text(), m_w.txtTalk->selStart(),
                                                          m_shared.gPickText, m_shared.settings.Sample));
            Screen::board(m_w);
            break;
        case Mode::ExampleList:
            listDone = decideExample();
            break;
        case Mode::DiaryList:
            openEntry(m_w.grdDay, 1, Colors::LightGreen, QString(), QStringLiteral("戻る"));
            break;
        case Mode::AddressList:
            openEntry(m_w.grdAD, 1, Colors::LightBlue, ListCaption::EndAddresses, QStringLiteral("決定"));
            break;
        case Mode::MailList:
            openEntry(m_w.grdMail, 0, Colors::LightBlue, ListCaption::EndMail, QStringLiteral("決定"));
            break;
        default:
            break;
        }
        if (listDone)
            m_w.fraTalk->hide();
    }
    // Moving on to another list keeps its frame; the text box gets the focus either way.
    if (listDone)
        FocusAndHighlight(m_w.txtTalk);
    else
        m_w.txtTalk->setFocus();
}

void DecideBack::cmdBack_Click()
{
    const QString back = m_w.cmdBack->text();
    if (back == QStringLiteral("戻る")) {
        const bool diary = m_w.cmdSamp->text() == ListCaption::EndDiary;
        if (diary) {
            m_files.LoadDiaryFile();
            m_files.SortDiaryList();
        }
        Screen::list(m_w, diary ? m_w.grdDay : nullptr);
        m_textArea.NormalTextArea();
        return;
    }
    if (back != QStringLiteral("決定"))
        return;
    if (m_w.cmdSamp->text() == ListCaption::EndAddresses) {
        const auto recipient = DecideMath::splitAddress(m_w.txtTalk->text());
        if (!recipient) {
            ShowOKDialog(m_shared, QStringLiteral("名前、アドレスは、カンマで区切ってください。"),
                         OkDialog::Notice, QStringLiteral("メルアド登録"));
            return;
        }
        gMailName = recipient->name;
        gMailAddr = recipient->address;
        showMailList();
        m_w.txtTalk->setFocus();
        return;
    }
    const QString text = m_w.txtTalk->text();
    ShowMailWindow(m_shared, gMailName, gMailAddr, text.left(10), text,
                   {[this] { showAddressList(); }, [this] { showMailList(); }});
}
