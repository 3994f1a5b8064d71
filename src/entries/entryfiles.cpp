#include "entries/entryfiles.h"

#include "entries/entryformat.h"
#include "entries/entrylist.h"
#include "platform/entrystorage.h"
#include "platform/grid.h"
#include "platform/memoryhints.h"
#include "platform/services.h"
#include "platform/twips.h"
#include "shared/okdialog.h"
#include "shared/sentence.h"
#include "shared/sharedstate.h"

#include <QObject>

using namespace EntryFormat;

EntryFiles::EntryFiles(const Controls &c, EntryLists &rows, SharedState &shared)
    : m_c(c), m_rows(rows), m_shared(shared)
{}

void EntryFiles::EnsureEntryFiles()
{
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
    m_shared.state.forgetEditTail(); // a list read anew: no entry is open
    Grid *g = m_c.lists.of(list);
    g->setRedraw(false);
    m_rows.of(list)->setRows(0);
    ForgetListRow(m_shared.state, list);
    g->setCols(cols);
    Twips::setRect(g, Twips::rect(m_c.grdBoard));
    return g;
}

// Fills a list with an empty row 0, for a new entry, and the file's entries below it.
void EntryFiles::fillBelowNewRow(ListId list, const QString &file, int markColumn)
{
    Grid *g = m_c.lists.of(list);
    EntryList &rows = *m_rows.of(list);
    bool read = false;
    const QStringList lines = ReadEntries(file, &read);
    noteLoaded(file, read);
    rows.setRows(int(lines.size()) + 1);
    for (int i = 0; i < lines.size(); ++i)
        rows.setText(i + 1, lines[i]);
    m_shared.state.setListRow(0);
    MarkListRow(m_shared.state, list, g, 0, markColumn, true);
    g->setRedraw(true);
}

void EntryFiles::LoadSampleFile()
{
    Grid *g = m_c.lists.of(ListId::Examples);
    m_rows.examples.setRows(0);
    ForgetListRow(m_shared.state, ListId::Examples);
    g->setCols(2);
    // A file that has not changed since it was read is not read again, so a
    // list of millions of sentences opens at once.
    if (!SampleFileUnchanged()) {
        bool read = false;
        QStringList texts = ReadEntries(Samples, &read);
        noteLoaded(Samples, read);
        rememberSamples(std::move(texts));
    }
    m_rows.examples.setTexts(m_samples);
    m_shared.SampleTexts = m_samples;
}

bool EntryFiles::SampleFileUnchanged() const
{
    const auto was = m_loaded.constFind(Samples);
    return was != m_loaded.cend() && was->whole && !was->stamp.isEmpty() &&
           m_shared.sv.entries->stamp(Samples) == was->stamp;
}

bool EntryFiles::SaveSampleFile()
{
    // One pass over the rows: a list of millions is read once, in its order.
    const EntryList &rows = m_rows.examples;
    QStringList entries;
    entries.reserve(rows.rows());
    bool whole = true;
    int r = 0;
    rows.forEachText([&](const QString &row) {
        if (QString entry = sampleEntry(r++, row); !entry.isNull()) {
            whole = whole && readsBackWhole(entry);
            entries << std::move(entry);
        }
    });
    const QString text = fileText(entries);
    if (!writeText(Samples, text))
        return false;
    // What the file now holds is known without reading it again: its entries,
    // unless one of them reads back otherwise.
    noteLoaded(Samples, true);
    rememberSamples(whole ? std::move(entries) : parseLines(text));
    return true;
}

void EntryFiles::rememberSamples(QStringList texts)
{
    const QChar space(QLatin1Char(' '));
    for (qsizetype i = 0; i < texts.size(); ++i) {
        // Entries in sorted order lie anywhere in memory: each is asked for ahead.
        if (i + 16 < texts.size())
            Prefetch(texts[i + 16].constData());
        if (const QString &t = texts[i]; !t.isEmpty() && (t.front() == space || t.back() == space))
            texts[i] = trimSpaces(t);
    }
    m_samples = std::move(texts);
}

void EntryFiles::LoadDiaryFile()
{
    Grid *g = prepareList(ListId::Diary, 2);
    const int width = Twips::rect(g).width();
    g->setColWidth(0, 4500);
    g->setColWidth(1, width - 4500);
    bool read = false;
    const QStringList lines = ReadEntries(Diary, &read);
    noteLoaded(Diary, read);
    const QString today = diaryDate(m_shared.sv.clock->today());
    // Today's row comes first when the newest entry is older, and also in an
    // empty diary, so the first entry can be written.
    const bool todayRow = lines.isEmpty() || diaryDateOf(lines.front()) != today;
    EntryList &rows = m_rows.diary;
    rows.setRows(int(lines.size()) + (todayRow ? 1 : 0));
    int n = 0;
    if (todayRow)
        rows.setHead(n++, today);
    for (const QString &line : lines) {
        rows.setHead(n, diaryDateOf(line));
        rows.setText(n, diaryTextOf(line));
        ++n;
    }
    g->setRedraw(true);
}

void EntryFiles::SortDiaryList()
{
    Grid *g = m_c.lists.of(ListId::Diary);
    m_shared.state.setListRow(0);
    g->setRedraw(false);
    g->setRow(0);
    g->setCol(0);
    g->setColSel(0);
    m_rows.diary.sortByHeadDescending();
    MarkListRow(m_shared.state, ListId::Diary, g, 0, 1, true);
    g->setRedraw(true);
}

QString EntryFiles::whole(const QString &text) const
{
    const QString &rest = m_shared.state.editTail();
    if (rest.isEmpty())
        return text;
    // The marker stands where the user writes, never between what the box holds and the rest.
    return (text.endsWith(Sentence::Marker) ? text.chopped(1) : text) + rest;
}

void EntryFiles::noteLoaded(const QString &name, bool read)
{
    // A missing file is read whole: it holds nothing to keep.
    m_loaded[name] = {m_shared.sv.entries->stamp(name), read || !m_shared.sv.entries->exists(name)};
}

bool EntryFiles::followFile(ListId list)
{
    const QString &name = list == ListId::Diary ? Diary : list == ListId::Addresses ? Addresses : Mails;
    const auto was = m_loaded.constFind(name);
    if (was == m_loaded.cend())
        return true;
    const QString now = m_shared.sv.entries->stamp(name);
    if (was->whole && (now.isEmpty() || now == was->stamp))
        return true;
    const EntryList &rows = *m_rows.of(list);
    const int at = m_shared.state.editRow();
    const bool inList = at >= 0 && at < rows.rows();
    // No row open (refused before): the row a new entry goes in, which in the diary is today's.
    const QString headWas = inList                  ? rows.head(at)
                            : list == ListId::Diary ? diaryDate(m_shared.sv.clock->today())
                                                    : QString();
    const QString textWas = inList ? rows.text(at) : QString();
    const QString tail = m_shared.state.editTail();
    if (list == ListId::Diary)
        LoadDiaryFile();
    else if (list == ListId::Addresses)
        LoadAddressFile();
    else
        LoadMailFile();
    if (!m_loaded.value(name).whole) {
        // Why it could not be read was told as it was read. The entry is not saved; what it held
        // beyond the text box stays with it, and a save once the file reads goes in as a new entry.
        m_shared.state.setEditRow(-1, tail);
        ShowOKDialog(m_shared, QObject::tr("保存しませんでした。いまの文は消さずに残しています。"),
                     OkDialog::Notice, QStringLiteral("Pirokan"));
        return false;
    }
    for (int i = 0; i < rows.rows(); ++i)
        if (rows.text(i) == textWas && (list != ListId::Diary || rows.head(i) == headWas)) {
            m_shared.state.setEditRow(i, tail);
            return true;
        }
    // No row of the list read now is the one opened: a save tried again never lands on another
    // entry, it is offered as a new one where the list has a row for that.
    m_shared.state.setEditRow(-1, tail);
    m_loaded[name].whole = false;
    ShowOKDialog(
        m_shared,
        QObject::tr("開いていた行が、そのあいだにほかで書き換えられたか消されたので、保存しませんでした。"
                    "いまの文は消さずに残しています。"),
        OkDialog::Notice, QStringLiteral("Pirokan"));
    return false;
}

bool EntryFiles::SaveDiaryFile(const QString &text)
{
    if (!followFile(ListId::Diary))
        return false;
    const EntryList &rows = m_rows.diary;
    if (!WriteEntries(Diary, diaryEntries(rows.heads(), rows.texts(), m_shared.state.editRow(), whole(text))))
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
    if (!followFile(ListId::Addresses))
        return false;
    return WriteEntries(Addresses,
                        addressEntries(m_rows.addresses.texts(), m_shared.state.editRow(), whole(text)));
}

void EntryFiles::LoadMailFile()
{
    Grid *g = prepareList(ListId::Mails, 1);
    g->setColWidth(0, Twips::rect(g).width());
    fillBelowNewRow(ListId::Mails, Mails, 0);
}

bool EntryFiles::SaveMailFile(const QString &text)
{
    if (!followFile(ListId::Mails))
        return false;
    return WriteEntries(Mails, mailEntries(m_rows.mails.texts(), m_shared.state.editRow(), whole(text)));
}
