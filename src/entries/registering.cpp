#include "entries/registering.h"

#include "entries/entryfiles.h"
#include "entries/entryformat.h"
#include "entries/entrylist.h"
#include "entries/listselection.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/services.h"
#include "platform/twips.h"
#include "shared/okdialog.h"
#include "shared/sentence.h"
#include "shared/sharedstate.h"

#include <algorithm>

using EntryFormat::trimSpaces;

Registering::Registering(const Controls &c, EntryList &examples, Sentence &sentence, SharedState &shared,
                         EntryFiles &files, Hooks hooks)
    : m_c(c), m_examples(examples), m_sentence(sentence), m_shared(shared), m_files(files),
      m_hooks(std::move(hooks))
{}

void Registering::cmdSampADD_Click()
{
    Grid *g = m_c.grdEx;
    const QString stored = trimSpaces(m_sentence.text());
    // The bare marker (what a list action leaves) has nothing to store.
    if (stored.isEmpty())
        return;
    BusyScope busy;
    followSampleFile();
    if (m_examples.findTrimmed(stored, EntryFormat::FirstSentenceRow) >= 0) {
        ShowOKDialog(m_shared, QStringLiteral("同一文が登録されています"), OkDialog::Notice,
                     QStringLiteral("例文登録"));
        return;
    }
    g->setRedraw(false);
    m_examples.append(stored);
    if (!m_files.SaveSampleFile()) {
        // Nothing was stored: the list stays as the file holds it.
        m_examples.setRows(m_examples.rows() - 1);
        g->setRedraw(true);
        return;
    }
    m_shared.learn(stored);
    m_files.LoadSampleFile();
    m_hooks.indexSampleRows();
    if (const int r = m_examples.findTrimmed(stored, EntryFormat::FirstSentenceRow); r >= 0) {
        m_shared.state.setListRow(r);
        MarkListRow(m_shared.state, ListId::Examples, g, r, 1, true);
    }
    Twips::setRect(g, Twips::rect(m_c.grdBoard));
    g->setColWidth(0, 2500);
    g->setColWidth(1, Twips::rect(g).width() - 2500);
    g->setRedraw(true);
    m_shared.state.showList(ListId::Examples);
    m_shared.state.setListMode(ListId::Examples);
}

void Registering::cmdSampDel_Click()
{
    Grid *g = m_c.grdEx;
    // Only a sentence the user sees selected is ever deleted.
    if (!ListRowMarked(m_shared.state, ListId::Examples, g, m_shared.state.listRow()))
        return;
    // The menu rows are not sentences.
    if (EntryFormat::exampleRow(m_shared.state.listRow()) != EntryFormat::ExampleRow::Sentence)
        return;
    const QString trimmed = trimSpaces(m_examples.text(m_shared.state.listRow()));
    if (!ShowOKDialog(m_shared, QStringLiteral("上記例文を削除してもいいですか？"), OkDialog::OkCancel,
                      QStringLiteral("例文の削除")))
        return;
    if (followSampleFile()) {
        // Read anew: the sentence is where the file has it now, or gone and nothing is deleted.
        const int r = trimmed.isEmpty() ? -1 : m_examples.findTrimmed(trimmed, EntryFormat::FirstSentenceRow);
        ChooseOnlyRow(m_shared.state, ListId::Examples, g, std::max(r, 0));
        if (r < 0)
            return;
    }
    const int row = m_shared.state.listRow();
    const QString sentence = m_examples.text(row);
    g->setRedraw(false);
    m_examples.setText(row, QString());
    if (m_files.SaveSampleFile()) {
        // A deleted sentence is no longer offered while typing.
        if (m_shared.SampleTexts)
            m_shared.SampleTexts->removeOne(trimmed);
    } else {
        m_examples.setText(row, sentence);
    }
    g->setRedraw(true);
}

// A file changed on disk since the list was read (a carer's editor, a copy put
// back) is read again before a save, so the save keeps what it holds now. True when it was.
bool Registering::followSampleFile()
{
    if (m_files.SampleFileUnchanged())
        return false;
    m_files.LoadSampleFile();
    m_hooks.indexSampleRows();
    return true;
}

void Registering::cmdRevise_Click()
{
    m_hooks.normalTextArea();
    m_sentence.setPurpose(m_shared.state.listMode() == ListId::Diary ? Sentence::Purpose::Diary
                                                                     : Sentence::Purpose::Mail);
    const int length = m_sentence.length();
    m_sentence.setSelStart(length > 0 ? length - 1 : 0);
    m_shared.state.showBoard();
    m_sentence.setSelLength(1);
    m_c.txtTalk->setFocus();
}
