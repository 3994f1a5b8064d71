#include "modes/listmodes.h"

#include "board/board.h"
#include "entries/entryfiles.h"
#include "entries/entryformat.h"
#include "entries/entrylist.h"
#include "entries/listselection.h"
#include "modes/decide.h"
#include "modes/kanaindexrows.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/services.h"
#include "platform/twips.h"
#include "shared/okdialog.h"
#include "shared/palette.h"
#include "shared/sentence.h"
#include "shared/sharedstate.h"
#include "text/textarea.h"

ListModes::ListModes(const Controls &c, const EntryList &examples, Sentence &sentence, SharedState &shared,
                     Board &board, TextArea &textArea, EntryFiles &files, KanaIndexRows &indexRows)
    : m_c(c), m_examples(examples), m_sentence(sentence), m_shared(shared), m_board(board),
      m_textArea(textArea), m_files(files), m_indexRows(indexRows)
{}

void ListModes::ApplyBoardConfiguration()
{
    m_sentence.setPurpose(Sentence::Purpose::Talk);
    m_shared.state.showBoard();
    m_shared.state.setListMode(ListId::None);
    m_shared.state.forgetEditTail(); // what an opened entry left out is its own
}

void ListModes::ShowExampleList()
{
    Grid *g = m_c.grdEx;
    g->setRedraw(false);
    Twips::setRect(g, Twips::rect(m_c.grdBoard));
    g->setCols(2);
    g->setColWidth(0, 2400);
    g->setColWidth(1, Twips::rect(g).width() - 2400 - 338);
    // A list that still holds the unchanged file as it was sorted and headed is
    // not built again: a list of millions of sentences opens at once.
    if (m_files.SampleFileUnchanged() && m_examples.rows() >= 2 && m_indexRows.indexedAsNow() &&
        m_examples.revision() == m_indexRows.indexedSampleRevision()) {
        ForgetListRow(m_shared.state, ListId::Examples);
        g->clearCellBackColors();
        m_board.forgetFirstPress(); // as indexing the list again would
    } else {
        m_files.LoadSampleFile();
        m_indexRows.IndexSampleRows();
    }
    m_shared.state.setListRow(0);
    MarkListRow(m_shared.state, ListId::Examples, g, 0, 1, true);
    g->setRedraw(true);
    m_shared.state.showList(ListId::Examples);
    m_shared.state.setListMode(ListId::Examples);
}

void ListModes::IndexExamples()
{
    const bool shown = m_shared.state.listMode() == ListId::Examples;
    const int row = m_shared.state.listRow();
    const bool sentence = shown && row >= 0 && row < m_examples.rows() &&
                          EntryFormat::exampleRow(row) == EntryFormat::ExampleRow::Sentence;
    const QString chosen = sentence ? EntryFormat::trimSpaces(m_examples.text(row)) : QString();
    m_indexRows.IndexSampleRows();
    if (!shown)
        return;
    int now = row;
    if (sentence)
        now = chosen.isEmpty() ? -1 : m_examples.findTrimmed(chosen, EntryFormat::FirstSentenceRow);
    if (now < 0 || now >= m_examples.rows())
        now = 0;
    ChooseOnlyRow(m_shared.state, ListId::Examples, m_c.grdEx, now);
}

// Opens the example list or closes a list mode; a missing separator keeps the address mode.
void ListModes::switchList()
{
    const Mode mode = m_shared.state.mode();
    const QString mailEnd = QStringLiteral("メールの終了");
    switch (m_shared.state.listMode()) {
    case ListId::None:
        ShowExampleList();
        break;
    case ListId::Examples:
        ApplyBoardConfiguration();
        break;
    case ListId::Diary:
        // Declining keeps the text. A failed save keeps the entry open, so the next press tries again
        // and the text is not left on the board apart from its row.
        if (mode != Mode::DiaryList) {
            if (!ShowOKDialog(m_shared, QStringLiteral("日記を登録して終了します"), OkDialog::YesNo,
                              QStringLiteral("日記の終了"))) {
                ApplyBoardConfiguration();
                break;
            }
            if (!m_files.SaveDiaryFile(m_sentence.shown()))
                return;
            m_sentence.clear();
        }
        ApplyBoardConfiguration();
        break;
    case ListId::Addresses: {
        // With the list itself on show no address is open: the text is what the user wrote before
        // choosing メール, or a mail's, and neither is an address to check nor to be thrown away.
        if (mode == Mode::AddressList) {
            ApplyBoardConfiguration();
            break;
        }
        // The bare marker a list action leaves holds nothing to store.
        if (!m_sentence.holdsNothing()) {
            if (!DecideMath::hasSeparator(m_sentence.shown())) {
                ShowOKDialog(m_shared, QStringLiteral("名前、アドレスは、カンマで区切ってください。"),
                             OkDialog::Notice, QStringLiteral("メルアド登録"));
                return;
            }
            if (ShowOKDialog(m_shared, QStringLiteral("メルアド登録して終了します"), OkDialog::YesNo,
                             mailEnd) &&
                !m_files.SaveAddressFile(m_sentence.shown()))
                return; // not saved: the entry stays open to try again
        }
        m_sentence.clear();
        ApplyBoardConfiguration();
        break;
    }
    case ListId::Mails: {
        if (!m_sentence.holdsNothing() && mode != Mode::MailList &&
            ShowOKDialog(m_shared, QStringLiteral("メールを登録して終了します"), OkDialog::YesNo, mailEnd) &&
            !m_files.SaveMailFile(m_sentence.shown()))
            return; // not saved: the entry stays open to try again
        m_sentence.clear();
        ApplyBoardConfiguration();
        break;
    }
    case ListId::Suggestions:
        break; // never a list mode of its own
    }
}

void ListModes::cmdSamp_MouseDown()
{
    m_c.cmdSamp->setBackColor(Palette::ListButtonDown);
}

void ListModes::cmdSamp_MouseUp()
{
    m_c.cmdSamp->setBackColor(Palette::PaleBlue);
}

void ListModes::cmdSamp_Click()
{
    {
        BusyScope busy(m_c.window);
        m_textArea.NormalTextArea();
        switchList();
    }
    m_c.txtTalk->setFocus();
    // The next character goes before a new marker, not at the start.
    if (!m_sentence.endsInMarker())
        m_sentence.highlightMarker();
}

void ListModes::cmdStart_Click()
{
    if (!ShowOKDialog(m_shared, QStringLiteral("はじめからでよろしいですか？"), OkDialog::OkCancel,
                      QStringLiteral("例文登録")))
        return;
    m_sentence.clear();
    m_c.grdBoard->setRedraw(false);
    m_board.ClearBoardColours();
    m_c.grdBoard->setRedraw(true);
}
