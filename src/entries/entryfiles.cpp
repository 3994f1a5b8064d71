#include "app/okdialog.h"
#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "entries/entries.h"
#include "entries/entryformat.h"
#include "platform/colors.h"
#include "platform/entrystorage.h"
#include "platform/grid.h"
#include "platform/services.h"
#include "platform/twips.h"

#include <QObject>

using namespace EntryFormat;

namespace EntryFiles {

void EnsureEntryFiles(TalkContext &t)
{
    t.sv.entries->removeStaleTemporaries({Samples, Diary, Addresses, Mails});
    for (const QString &name : {Samples, Diary, Addresses, Mails}) {
        if (t.sv.entries->exists(name))
            continue;
        QStringList content;
        if (name == Samples)
            content = QStringList{Placeholder, Placeholder} + starterSentences();
        WriteEntries(t, name, content);
    }
}

QStringList ReadEntries(TalkContext &t, const QString &name)
{
    const EntryStorage::Read r = t.sv.entries->read(name);
    if (r.exists && !r.ok) {
        ShowOKDialog(t, r.error + QObject::tr("\nこのファイルは消さずに、そのまま残します。"),
                     OkDialog::Notice, QStringLiteral("Pirokan"));
        return {};
    }
    return parseLines(r.text);
}

bool WriteEntries(TalkContext &t, const QString &name, const QStringList &entries)
{
    QString error;
    if (t.sv.entries->write(name, fileText(entries), &error))
        return true;
    ShowOKDialog(t, error, OkDialog::Notice, QStringLiteral("Pirokan"));
    return false;
}

} // namespace EntryFiles

namespace {

QStringList column(const Grid *g, int col)
{
    QStringList out;
    out.reserve(g->rows());
    for (int r = 0; r < g->rows(); ++r)
        out << g->textMatrix(r, col);
    return out;
}

// Empties a list grid, without drawing, and lays it over the board.
void prepareList(TalkContext &t, Grid *g, int cols)
{
    g->setRedraw(false);
    g->setRows(0);
    g->setCols(cols);
    Twips::setRect(g, Twips::rect(t.w->grdBoard));
    g->show();
}

// Fills a list with an empty row 0, for a new entry, and the file's entries below it.
void fillBelowNewRow(TalkContext &t, Grid *g, const QString &file, int textColumn)
{
    const QStringList lines = EntryFiles::ReadEntries(t, file);
    g->setRows(int(lines.size()) + 1);
    for (int i = 0; i < lines.size(); ++i)
        g->setTextMatrix(i + 1, textColumn, lines[i]);
    t.gListRow = 0;
    MarkListRow(g, 0, textColumn, true);
    g->setRedraw(true);
}

} // namespace

void MarkListRow(Grid *g, int row, int startColumn, bool scrollToTop)
{
    PaintListRow(g, row, startColumn, Colors::LightGreen);
    if (scrollToTop)
        g->setTopRow(row);
}

void LoadSampleFile(TalkContext &t)
{
    Grid *g = t.w->grdEx;
    g->setRows(0);
    g->setCols(2);
    const QStringList lines = EntryFiles::ReadEntries(t, EntryFiles::Samples);
    QStringList texts;
    texts.reserve(lines.size());
    g->setRows(int(lines.size()));
    for (int i = 0; i < lines.size(); ++i) {
        texts << trimSpaces(lines[i]);
        g->setTextMatrix(i, 1, texts.back());
    }
    t.SampleTexts = texts;
}

bool SaveSampleFile(TalkContext &t)
{
    return EntryFiles::WriteEntries(t, EntryFiles::Samples, sampleEntries(column(t.w->grdEx, 1)));
}

void LoadDiaryFile(TalkContext &t)
{
    Grid *g = t.w->grdDay;
    prepareList(t, g, 2);
    const int width = Twips::rect(g).width();
    g->setColWidth(0, 4500);
    g->setColWidth(1, width - 4500);
    const QStringList lines = EntryFiles::ReadEntries(t, EntryFiles::Diary);
    const QString today = diaryDate(t.sv.clock->today());
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

void SortDiaryList(TalkContext &t)
{
    Grid *g = t.w->grdDay;
    t.gListRow = 0;
    g->setRedraw(false);
    g->setRow(0);
    g->setCol(0);
    g->setColSel(0);
    g->setSort(Grid::SortDescending);
    MarkListRow(g, 0, 1, true);
    g->setRedraw(true);
}

bool SaveDiaryFile(TalkContext &t, const QString &text)
{
    const Grid *g = t.w->grdDay;
    return EntryFiles::WriteEntries(t, EntryFiles::Diary,
                                    diaryEntries(column(g, 0), column(g, 1), t.EditRow, text));
}

void LoadAddressFile(TalkContext &t)
{
    Grid *g = t.w->grdAD;
    prepareList(t, g, 2);
    g->setColWidth(0, 2400);
    g->setColWidth(1, Twips::rect(g).width() - 2400 - 338);
    fillBelowNewRow(t, g, EntryFiles::Addresses, 1);
}

bool SaveAddressFile(TalkContext &t, const QString &text)
{
    return EntryFiles::WriteEntries(t, EntryFiles::Addresses,
                                    addressEntries(column(t.w->grdAD, 1), t.EditRow, text));
}

void LoadMailFile(TalkContext &t)
{
    Grid *g = t.w->grdMail;
    prepareList(t, g, 1);
    g->setColWidth(0, Twips::rect(g).width());
    fillBelowNewRow(t, g, EntryFiles::Mails, 0);
}

bool SaveMailFile(TalkContext &t, const QString &text)
{
    return EntryFiles::WriteEntries(t, EntryFiles::Mails,
                                    mailEntries(column(t.w->grdMail, 0), t.EditRow, text));
}
