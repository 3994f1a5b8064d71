#include "board/suggestions.h"

#include "board/suggestkey.h"
#include "entries/entryformat.h"
#include "entries/entrylist.h"
#include "entries/listselection.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/services.h"
#include "platform/twips.h"
#include "shared/canvas.h"
#include "shared/sentence.h"
#include "shared/sharedstate.h"

Suggestions::Suggestions(const Controls &c, SharedState &shared) : m_c(c), m_shared(shared) {}

void Suggestions::SuggestFromTail(const QString &text)
{
    if (!m_shared.settings.suggestionsOn() || text.isEmpty())
        return;
    BusyScope busy;
    if (const auto key = SuggestKey::fromTail(text, m_c.sentence->selStart(), m_shared.settings.Sample))
        ShowSuggestions(*key);
}

QStringList Suggestions::candidates(const QString &key)
{
    QStringList out;
    if (!m_shared.SampleTexts)
        return out;
    const QStringList &sentences = *m_shared.SampleTexts;
    // The placeholder lines only reserve the menu rows; they are never offered.
    const auto offered = [this, &key](const QString &s) {
        return s != EntryFormat::Placeholder &&
               (m_shared.readingOf ? SuggestKey::matchesTextOrReading(key, s, m_shared.readingOf(s))
                                   : SuggestKey::matches(key, s));
    };
    // Sentences changed or replaced no longer share their list with the one the starts were taken from.
    // A sentence's reading may begin otherwise than its text: with the strip on, both starts are kept,
    // so a press looks at the few that may match, not at every reading of a long list.
    const bool byReading = bool(m_shared.readingOf);
    if (!m_starts.sentences.isSharedWith(sentences) || m_starts.starts.size() != size_t(sentences.size()) ||
        m_starts.byReading != byReading) {
        m_starts.sentences = sentences;
        m_starts.byReading = byReading;
        m_starts.starts.clear();
        m_starts.readingStarts.clear();
        m_starts.starts.reserve(size_t(sentences.size()));
        for (const QString &s : sentences)
            m_starts.starts.push_back(SuggestKey::startOf(s));
        if (byReading) {
            m_starts.readingStarts.reserve(size_t(sentences.size()));
            for (const QString &s : sentences)
                m_starts.readingStarts.push_back(SuggestKey::startOf(m_shared.readingOf(s)));
        }
    }
    const SuggestKey::StartFilter filter(key);
    for (size_t i = 0; i < m_starts.starts.size(); ++i)
        if ((filter.mayMatch(m_starts.starts[i]) ||
             (byReading && filter.mayMatch(m_starts.readingStarts[i]))) &&
            offered(sentences[qsizetype(i)]))
            out << sentences[qsizetype(i)];
    return out;
}

void Suggestions::ShowSuggestions(const QString &key)
{
    if (key.isEmpty())
        return;
    Grid *g = m_c.grdSp;
    TalkState &state = m_shared.state;
    g->setRedraw(false);
    Twips::setRect(g, Twips::rect(m_c.grdBoard));
    m_c.rows->setRows(0);
    ForgetListRow(state, ListId::Suggestions);
    g->setCols(1);
    g->setColWidth(0, Canvas::Width);
    const QStringList rows = QStringList{EntryFormat::trimSpaces(key)} + candidates(key);
    m_c.rows->setTexts(rows);
    if (rows.size() == 1) {
        state.showBoard();
    } else {
        MarkListRow(state, ListId::Suggestions, g, 0, 0, true);
        g->setRedraw(true);
        state.setSelectionOpen(false);
        state.showList(ListId::Suggestions);
    }
    m_shared.state.setListRow(g->row());
}
