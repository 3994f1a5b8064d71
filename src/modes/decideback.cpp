#include "modes/decideback.h"

#include "board/board.h"
#include "entries/entryfiles.h"
#include "entries/entryformat.h"
#include "entries/entrylist.h"
#include "entries/mailwindow.h"
#include "modes/decide.h"
#include "modes/kanaindexrows.h"
#include "platform/grid.h"
#include "platform/services.h"
#include "shared/okdialog.h"
#include "shared/sentence.h"
#include "shared/sharedstate.h"
#include "text/highlight.h"
#include "text/textarea.h"

DecideBack::DecideBack(const Controls &c, const EntryLists &rows, Sentence &sentence, SharedState &shared,
                       Board &board, TextArea &textArea, EntryFiles &files, KanaIndexRows &indexRows)
    : m_c(c), m_rows(rows), m_sentence(sentence), m_shared(shared), m_board(board), m_textArea(textArea),
      m_files(files), m_indexRows(indexRows)
{}

QString DecideBack::pickRow(ListId list)
{
    m_board.forgetFirstPress();
    return m_rows.of(list)->text(m_shared.state.listRow());
}

// Opens a diary, address or mail row in the text box, widened, for viewing.
void DecideBack::openEntry(ListId list, BackAction backAction)
{
    const QString entry = EntryFormat::trimSpaces(pickRow(list));
    // A new entry's empty row takes what the user had written on the board, rather than wiping it;
    // an entry opened before (an address chosen for a mail, a diary day looked at) is no such writing.
    const bool written = m_sentence.purpose() == Sentence::Purpose::Talk && !m_sentence.holdsNothing();
    if (!entry.isEmpty() || !written)
        m_sentence.setShown(entry);
    m_sentence.setSelStart(m_sentence.length());
    // The highlighted row is the one opened, so a save puts the text back there. An entry written
    // elsewhere may be longer than the text box holds: the rest is kept, not cut off by a save.
    const QString tail = entry.mid(m_sentence.shown().size());
    m_shared.state.setEditRow(m_shared.state.listRow(), tail);
    m_sentence.setPurpose(list == ListId::Diary ? Sentence::Purpose::Diary : Sentence::Purpose::Mail);
    m_shared.state.setBackAction(backAction);
    m_textArea.WidenTextArea(true);
    m_shared.state.showEntry();
    if (!tail.isEmpty())
        ShowOKDialog(m_shared,
                     QStringLiteral("長いので、初めの %1 文字だけを出しています。残りの %2 文字は、保存しても"
                                    "送ってもそのまま残ります。")
                         .arg(m_sentence.shown().size())
                         .arg(tail.size()),
                     OkDialog::Notice, QStringLiteral("長い文"));
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

// A sentence put in whole, or not at all: a cut would drop what the user wrote after the caret.
void DecideBack::putIn(const DecideMath::Edit &edit)
{
    if (const int max = m_sentence.maxLength(); max > 0 && Sentence::plain(edit.text).size() > max) {
        ShowOKDialog(
            m_shared,
            QStringLiteral("入れると %1 文字を超えるので、入れませんでした。書いた文はそのままです。")
                .arg(max),
            OkDialog::Notice, QStringLiteral("長い文"));
        return;
    }
    m_sentence.replace(edit.text, edit.caret);
}

// Decide on the example list; false when it moved on to another list.
bool DecideBack::decideExample()
{
    const EntryFormat::ExampleRow kind = EntryFormat::exampleRow(m_shared.state.listRow());
    const QString picked = pickRow(ListId::Examples);
    if (kind == EntryFormat::ExampleRow::DiaryMenu) {
        m_files.LoadDiaryFile();
        m_files.SortDiaryList();
        m_shared.state.showList(ListId::Diary);
        m_shared.state.setListMode(ListId::Diary);
        return false;
    }
    if (kind == EntryFormat::ExampleRow::MailMenu) {
        showAddressList();
        return false;
    }
    putIn(DecideMath::insertSentence(m_sentence.shown(), m_sentence.selStart(), picked));
    m_shared.state.showBoard();
    m_shared.state.setListMode(ListId::None);
    return true;
}

void DecideBack::cmdDec_Click()
{
    TalkState &state = m_shared.state;
    // Decide takes only a row the user sees selected.
    if (const ListId list = state.shownList();
        list != ListId::None && !ListRowMarked(state, list, m_c.lists.of(list), m_shared.state.listRow())) {
        FocusAndHighlight(m_c.txtTalk, m_sentence);
        return;
    }
    bool listDone = true;
    {
        BusyScope busy(m_c.window, false);
        switch (state.mode()) {
        case Mode::Suggest: {
            const QString picked = pickRow(ListId::Suggestions);
            // The suggestions were made from the characters typed last, before the marker, and
            // replace those even when the caret was since moved into the text.
            const int typedEnd = std::max(0, m_sentence.length() - 1);
            putIn(DecideMath::replaceTyped(m_sentence.shown(), typedEnd, picked, m_shared.settings.Sample));
            state.showBoard();
            break;
        }
        case Mode::ExampleList:
            listDone = decideExample();
            break;
        case Mode::DiaryList:
            openEntry(ListId::Diary, BackAction::Back);
            break;
        case Mode::AddressList:
            openEntry(ListId::Addresses, BackAction::Decide);
            break;
        case Mode::MailList:
            openEntry(ListId::Mails, BackAction::Decide);
            break;
        default:
            break;
        }
    }
    // Moving on to another list keeps its keys; the text box gets the focus either way.
    if (listDone)
        FocusAndHighlight(m_c.txtTalk, m_sentence);
    else
        m_c.txtTalk->setFocus();
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
        // The marker reading or a revision leaves at the end is no part of the address.
        const auto recipient = DecideMath::splitAddress(m_sentence.text());
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
    const QString text = m_files.whole(m_sentence.shown());
    ShowMailWindow(m_shared, gMailName, gMailAddr, text.left(10), text,
                   {[this] { showAddressList(); }, [this] { showMailList(); }});
}
