#include "entries/registering.h"

#include "entries/entryfiles.h"
#include "entries/entryformat.h"
#include "entries/listselection.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/services.h"
#include "platform/textbox.h"
#include "platform/twips.h"
#include "shared/okdialog.h"
#include "shared/sharedstate.h"

using EntryFormat::trimSpaces;

Registering::Registering(const Controls &c, SharedState &shared, EntryFiles &files, Hooks hooks)
    : m_c(c), m_shared(shared), m_files(files), m_hooks(std::move(hooks))
{}

void Registering::cmdSampADD_Click()
{
    Grid *g = m_c.grdEx;
    const QString text = m_c.txtTalk->text();
    const QString stored = EntryFormat::storedForm(text);
    // The bare marker (what a list action leaves) has nothing to store.
    if (trimSpaces(text).isEmpty() || stored.isEmpty())
        return;
    BusyScope busy;
    // The menu rows are not sentences: a sentence that reads like one is new.
    if (g->findTrimmed(1, stored, EntryFormat::LabelRows) >= 0) {
        ShowOKDialog(m_shared, QStringLiteral("同一文が登録されています"), OkDialog::Notice,
                     QStringLiteral("例文登録"));
        return;
    }
    g->setRedraw(false);
    g->setRows(g->rows() + 1);
    g->setTextMatrix(g->rows() - 1, 1, stored);
    if (!m_files.SaveSampleFile()) {
        // Nothing was stored: the list stays as the file holds it.
        g->setRows(g->rows() - 1);
        g->setRedraw(true);
        return;
    }
    m_shared.learn(stored);
    m_files.LoadSampleFile();
    m_hooks.indexSampleRows();
    g->setTextMatrix(0, 1, EntryFormat::DiaryRow);
    g->setTextMatrix(1, 1, EntryFormat::MailRow);
    if (const int r = g->findTrimmed(1, stored, EntryFormat::LabelRows); r >= 0) {
        m_shared.gListRow = r;
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
    if (!ListRowMarked(m_shared.state, ListId::Examples, g, m_shared.gListRow))
        return;
    if (EntryFormat::isLabelRow(m_shared.gListRow))
        return;
    const QString sentence = g->textMatrix(m_shared.gListRow, 1);
    const QString trimmed = trimSpaces(sentence);
    if (!ShowOKDialog(m_shared, QStringLiteral("上記例文を削除してもいいですか？"), OkDialog::OkCancel,
                      QStringLiteral("例文の削除")))
        return;
    g->setRedraw(false);
    g->setTextMatrix(m_shared.gListRow, 1, QString());
    if (m_files.SaveSampleFile()) {
        // A deleted sentence is no longer offered while typing.
        if (m_shared.SampleTexts)
            m_shared.SampleTexts->removeOne(trimmed);
    } else {
        g->setTextMatrix(m_shared.gListRow, 1, sentence);
    }
    g->setRedraw(true);
}

void Registering::cmdRevise_Click()
{
    m_hooks.normalTextArea();
    m_c.txtTalk->setBackColor(m_shared.state.listMode() == ListId::Diary ? Colors::LightGreen
                                                                         : Colors::LightBlue);
    const int length = m_c.txtTalk->length();
    m_c.txtTalk->setSelStart(length > 0 ? length - 1 : 0);
    m_shared.state.showBoard();
    m_c.txtTalk->setSelLength(1);
    m_c.txtTalk->setFocus();
}
