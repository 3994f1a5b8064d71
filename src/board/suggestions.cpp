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
    // A sentence's reading may begin otherwise than its text: each one is asked.
    if (m_shared.readingOf) {
        for (const QString &s : sentences)
            if (offered(s))
                out << s;
        return out;
    }
    // Sentences changed or replaced no longer share their list with the one the starts were taken from.
    if (!m_starts.sentences.isSharedWith(sentences) || m_starts.starts.size() != size_t(sentences.size())) {
        m_starts.sentences = sentences;
        m_starts.starts.clear();
        m_starts.starts.reserve(size_t(sentences.size()));
        for (const QString &s : sentences)
            m_starts.starts.push_back(SuggestKey::startOf(s));
    }
    const SuggestKey::StartFilter filter(key);
    for (size_t i = 0; i < m_starts.starts.size(); ++i)
        if (filter.mayMatch(m_starts.starts[i]) && offered(sentences[qsizetype(i)]))
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
