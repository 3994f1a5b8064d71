#include "entries/entryfiles.h"

#include "entries/entryformat.h"
#include "platform/entrystorage.h"
#include "platform/grid.h"
#include "platform/memoryhints.h"
#include "platform/services.h"
#include "platform/twips.h"
#include "shared/okdialog.h"
#include "shared/sharedstate.h"

#include <QObject>

using namespace EntryFormat;

namespace {

QStringList column(const Grid *g, int col)
{
    QStringList out;
    out.reserve(g->rows());
    for (int r = 0; r < g->rows(); ++r)
        out << g->textMatrix(r, col);
    return out;
}

} // namespace

EntryFiles::EntryFiles(const Controls &c, SharedState &shared) : m_c(c), m_shared(shared) {}

void EntryFiles::EnsureEntryFiles()
{
    m_shared.sv.entries->removeStaleTemporaries({Samples, Diary, Addresses, Mails});
    for (const QString &name : {Samples, Diary, Addresses, Mails}) {
        if (m_shared.sv.entries->exists(name))
            continue;
        QStringList content;
        if (name == Samples)
            content = QStringList{Placeholder, Placeholder} + starterSentences();
        WriteEntries(name, content);
    }
}

QStringList EntryFiles::ReadEntries(const QString &name, bool *read)
{
    const EntryStorage::Read r = m_shared.sv.entries->read(name);
    if (read)
        *read = r.ok;
    if (r.exists && !r.ok) {
        ShowOKDialog(m_shared, r.error + QObject::tr("\nこのファイルは消さずに、そのまま残します。"),
                     OkDialog::Notice, QStringLiteral("Pirokan"));
        return {};
    }
    if (!r.warning.isEmpty())
        ShowOKDialog(m_shared, r.warning, OkDialog::Notice, QStringLiteral("Pirokan"));
    return parseLines(r.text);
}

bool EntryFiles::WriteEntries(const QString &name, const QStringList &entries)
{
    return writeText(name, fileText(entries));
}

bool EntryFiles::writeText(const QString &name, const QString &text)
{
    QString error;
    if (m_shared.sv.entries->write(name, text, &error))
        return true;
    ShowOKDialog(m_shared, error, OkDialog::Notice, QStringLiteral("Pirokan"));
    return false;
}

// Empties a list grid, without drawing, and lays it over the board.
Grid *EntryFiles::prepareList(ListId list, int cols)
{
    Grid *g = m_c.lists.of(list);
    g->setRedraw(false);
    g->setRows(0);
    ForgetListRow(m_shared.state, list);
    g->setCols(cols);
    Twips::setRect(g, Twips::rect(m_c.grdBoard));
    return g;
}

// Fills a list with an empty row 0, for a new entry, and the file's entries below it.
void EntryFiles::fillBelowNewRow(ListId list, const QString &file, int textColumn)
{
    Grid *g = m_c.lists.of(list);
    const QStringList lines = ReadEntries(file);
    g->setRows(int(lines.size()) + 1);
    for (int i = 0; i < lines.size(); ++i)
        g->setTextMatrix(i + 1, textColumn, lines[i]);
    m_shared.gListRow = 0;
    MarkListRow(m_shared.state, list, g, 0, textColumn, true);
    g->setRedraw(true);
}

void EntryFiles::LoadSampleFile()
{
    Grid *g = m_c.lists.of(ListId::Examples);
    g->setRows(0);
    ForgetListRow(m_shared.state, ListId::Examples);
    g->setCols(2);
    // A file that has not changed since it was read is not read again, so a
    // list of millions of sentences opens at once.
    const QString stamp = m_shared.sv.entries->stamp(Samples);
    if (stamp.isEmpty() || stamp != m_samples.stamp) {
        bool read = false;
        QStringList texts = ReadEntries(Samples, &read);
        rememberSamples(read ? stamp : QString(), std::move(texts));
    }
    g->setColumnTexts(1, m_samples.texts);
    m_shared.SampleTexts = m_samples.texts;
}

bool EntryFiles::SampleFileUnchanged() const
{
    return !m_samples.stamp.isEmpty() && m_shared.sv.entries->stamp(Samples) == m_samples.stamp;
}

bool EntryFiles::SaveSampleFile()
{
    // One pass over the rows: a list of millions is read once, in its order.
    const Grid *g = m_c.lists.of(ListId::Examples);
    QStringList entries;
    entries.reserve(g->rows());
    bool whole = true;
    int r = 0;
    g->forEachText(1, [&](const QString &row) {
        if (QString entry = sampleEntry(row, isLabelRow(r++)); !entry.isNull()) {
            whole = whole && readsBackWhole(entry);
            entries << std::move(entry);
        }
    });
    const QString text = fileText(entries);
    if (!writeText(Samples, text))
        return false;
    // What the file now holds is known without reading it again: its entries,
    // unless one of them reads back otherwise.
    rememberSamples(m_shared.sv.entries->stamp(Samples), whole ? std::move(entries) : parseLines(text));
    return true;
}

void EntryFiles::rememberSamples(const QString &stamp, QStringList texts)
{
    const QChar space(QLatin1Char(' '));
    for (qsizetype i = 0; i < texts.size(); ++i) {
        // Entries in sorted order lie anywhere in memory: each is asked for ahead.
        if (i + 16 < texts.size())
            Prefetch(texts[i + 16].constData());
        if (const QString &t = texts[i]; !t.isEmpty() && (t.front() == space || t.back() == space))
            texts[i] = trimSpaces(t);
    }
    m_samples = {stamp, std::move(texts)};
}

void EntryFiles::LoadDiaryFile()
{
    Grid *g = prepareList(ListId::Diary, 2);
    const int width = Twips::rect(g).width();
    g->setColWidth(0, 4500);
    g->setColWidth(1, width - 4500);
    const QStringList lines = ReadEntries(Diary);
    const QString today = diaryDate(m_shared.sv.clock->today());
    // Today's row comes first when the newest entry is older, and also in an
    // empty diary, so the first entry can be written.
    const bool todayRow = lines.isEmpty() || diaryDateOf(lines.front()) != today;
    g->setRows(int(lines.size()) + (todayRow ? 1 : 0));
    int n = 0;
    if (todayRow)
        g->setTextMatrix(n++, 0, today);
    for (const QString &line : lines) {
        g->setTextMatrix(n, 0, diaryDateOf(line));
        g->setTextMatrix(n, 1, diaryTextOf(line));
        ++n;
    }
    g->setRedraw(true);
}

void EntryFiles::SortDiaryList()
{
    Grid *g = m_c.lists.of(ListId::Diary);
    m_shared.gListRow = 0;
    g->setRedraw(false);
    g->setRow(0);
    g->setCol(0);
    g->setColSel(0);
    g->setSort(Grid::SortDescending);
    MarkListRow(m_shared.state, ListId::Diary, g, 0, 1, true);
    g->setRedraw(true);
}

bool EntryFiles::SaveDiaryFile(const QString &text)
{
    const Grid *g = m_c.lists.of(ListId::Diary);
    if (!WriteEntries(Diary, diaryEntries(column(g, 0), column(g, 1), m_shared.EditRow, text)))
        return false;
    m_shared.learn(text);
    return true;
}

void EntryFiles::LoadAddressFile()
{
    Grid *g = prepareList(ListId::Addresses, 2);
    g->setColWidth(0, 2400);
    g->setColWidth(1, Twips::rect(g).width() - 2400 - 338);
    fillBelowNewRow(ListId::Addresses, Addresses, 1);
}

bool EntryFiles::SaveAddressFile(const QString &text)
{
    return WriteEntries(Addresses,
                        addressEntries(column(m_c.lists.of(ListId::Addresses), 1), m_shared.EditRow, text));
}

void EntryFiles::LoadMailFile()
{
    Grid *g = prepareList(ListId::Mails, 1);
    g->setColWidth(0, Twips::rect(g).width());
    fillBelowNewRow(ListId::Mails, Mails, 0);
}

bool EntryFiles::SaveMailFile(const QString &text)
{
    return WriteEntries(Mails, mailEntries(column(m_c.lists.of(ListId::Mails), 0), m_shared.EditRow, text));
}
