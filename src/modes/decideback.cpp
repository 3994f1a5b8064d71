#include "modes/decideback.h"

#include "entries/entryfiles.h"
#include "entries/entryformat.h"
#include "entries/mailwindow.h"
#include "modes/decide.h"
#include "modes/kanaindexrows.h"
#include "platform/colors.h"
#include "platform/grid.h"
#include "platform/services.h"
#include "platform/textbox.h"
#include "shared/okdialog.h"
#include "shared/sharedstate.h"
#include "text/highlight.h"
#include "text/textarea.h"

namespace {

void setText(TextBox *box, const DecideMath::Edit &edit)
{
    box->setText(edit.text);
    box->setSelStart(edit.caret);
}

} // namespace

DecideBack::DecideBack(const Controls &c, SharedState &shared, TextArea &textArea, EntryFiles &files,
                       KanaIndexRows &indexRows)
    : m_c(c), m_shared(shared), m_textArea(textArea), m_files(files), m_indexRows(indexRows)
{}

// Opens a diary, address or mail row in the text box, widened, for viewing.
void DecideBack::openEntry(ListId list, int column, quint32 back, BackAction backAction)
{
    TextBox *box = m_c.txtTalk;
    m_shared.gPickText = m_c.lists.of(list)->textMatrix(m_shared.gListRow, column);
    box->setText(EntryFormat::trimSpaces(m_shared.gPickText));
    box->setSelStart(box->length());
    // The highlighted row is the one opened, so a save puts the text back there.
    m_shared.EditRow = m_shared.gListRow;
    box->setBackColor(back);
    m_shared.state.setBackAction(backAction);
    m_textArea.WidenTextArea(true);
    m_shared.state.showEntry();
}

void DecideBack::showAddressList()
{
    m_files.LoadAddressFile();
    m_indexRows.IndexAddressRows();
    m_shared.state.showList(ListId::Addresses);
    m_shared.state.setListMode(ListId::Addresses);
}

void DecideBack::showMailList()
{
    m_files.LoadMailFile();
    m_shared.state.showList(ListId::Mails);
    m_shared.state.setListMode(ListId::Mails);
}

// Decide on the example list; false when it moved on to another list.
bool DecideBack::decideExample()
{
    TextBox *box = m_c.txtTalk;
    m_shared.gPickText = m_c.lists.of(ListId::Examples)->textMatrix(m_shared.gListRow, 1);
    // The menu rows are known by their place: a stored sentence 日記 is written.
    if (m_shared.gListRow == 0) {
        m_files.LoadDiaryFile();
        m_files.SortDiaryList();
        m_shared.state.showList(ListId::Diary);
        m_shared.state.setListMode(ListId::Diary);
        return false;
    }
    if (m_shared.gListRow == 1) {
        showAddressList();
        return false;
    }
    setText(box, DecideMath::insertSentence(box->text(), box->selStart(), m_shared.gPickText));
    m_shared.state.showBoard();
    m_shared.state.setListMode(ListId::None);
    return true;
}

void DecideBack::cmdDec_Click()
{
    TextBox *box = m_c.txtTalk;
    TalkState &state = m_shared.state;
    // Decide takes only a row the user sees selected.
    if (const ListId list = state.shownList();
        list != ListId::None && !ListRowMarked(state, list, m_c.lists.of(list), m_shared.gListRow)) {
        FocusAndHighlight(box);
        return;
    }
    bool listDone = true;
    {
        BusyScope busy(m_c.window, false);
        switch (state.mode()) {
        case Mode::Suggest:
            m_shared.gPickText = m_c.lists.of(ListId::Suggestions)->textMatrix(m_shared.gListRow, 0);
            setText(box, DecideMath::replaceTyped(box->text(), box->selStart(), m_shared.gPickText,
                                                  m_shared.settings.Sample));
            state.showBoard();
            break;
        case Mode::ExampleList:
            listDone = decideExample();
            break;
        case Mode::DiaryList:
            openEntry(ListId::Diary, 1, Colors::LightGreen, BackAction::Back);
            break;
        case Mode::AddressList:
            openEntry(ListId::Addresses, 1, Colors::LightBlue, BackAction::Decide);
            break;
        case Mode::MailList:
            openEntry(ListId::Mails, 0, Colors::LightBlue, BackAction::Decide);
            break;
        default:
            break;
        }
    }
    // Moving on to another list keeps its keys; the text box gets the focus either way.
    if (listDone)
        FocusAndHighlight(box);
    else
        box->setFocus();
}

void DecideBack::cmdBack_Click()
{
    TalkState &state = m_shared.state;
    if (state.backAction() == BackAction::Back) {
        const bool diary = state.listMode() == ListId::Diary;
        if (diary) {
            m_files.LoadDiaryFile();
            m_files.SortDiaryList();
            state.showList(ListId::Diary);
        } else {
            state.showBoard();
        }
        m_textArea.NormalTextArea();
        return;
    }
    if (state.listMode() == ListId::Addresses) {
        const auto recipient = DecideMath::splitAddress(m_c.txtTalk->text());
        if (!recipient) {
            ShowOKDialog(m_shared, QStringLiteral("名前、アドレスは、カンマで区切ってください。"),
                         OkDialog::Notice, QStringLiteral("メルアド登録"));
            return;
        }
        gMailName = recipient->name;
        gMailAddr = recipient->address;
        showMailList();
        m_c.txtTalk->setFocus();
        return;
    }
    const QString text = m_c.txtTalk->text();
    ShowMailWindow(m_shared, gMailName, gMailAddr, text.left(10), text,
                   {[this] { showAddressList(); }, [this] { showMailList(); }});
}
