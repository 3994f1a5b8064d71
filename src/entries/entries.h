#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

struct TalkContext;
class Grid;
class TalkWindow;

namespace EntryFiles {
inline const QString Samples = QStringLiteral("Talk.txt");
inline const QString Diary = QStringLiteral("day.txt");
inline const QString Addresses = QStringLiteral("addres.txt");
inline const QString Mails = QStringLiteral("mail.txt");

// Creates the files a first start needs: the examples with their placeholder lines, the rest empty.
void EnsureEntryFiles(TalkContext &t);
// A file's entries; a file that cannot be read is reported to the user and reads as empty.
QStringList ReadEntries(TalkContext &t, const QString &name);
// Replaces a file; a failure is reported to the user and leaves the old file whole.
bool WriteEntries(TalkContext &t, const QString &name, const QStringList &entries);
} // namespace EntryFiles

void LoadSampleFile(TalkContext &t);
bool SaveSampleFile(TalkContext &t);
void LoadDiaryFile(TalkContext &t);
void SortDiaryList(TalkContext &t);
bool SaveDiaryFile(TalkContext &t, const QString &text);
void LoadAddressFile(TalkContext &t);
bool SaveAddressFile(TalkContext &t, const QString &text);
void LoadMailFile(TalkContext &t);
bool SaveMailFile(TalkContext &t, const QString &text);

// Registering, deleting and revising.
void cmdSampADD_Click(TalkContext &t);
void cmdSampDel_Click(TalkContext &t);
void cmdRevise_Click(TalkContext &t);

// The five list grids, in the order the list tools look for the one on show,
// with the column their selection colour starts at.
struct ListGrid
{
    Grid *grid;
    int startColumn;
};
std::array<ListGrid, 5> ListGrids(TalkWindow *w);

// A press on a list row selects it.
void SelectListRow(TalkContext &t, Grid *grid, int startColumn);
// Whether row `row` of a list is shown selected (its mark always reaches the last column).
bool ListRowMarked(const Grid *grid, int row);
// The list grid on show; null when none is.
Grid *ListOnShow(TalkWindow *w);
// Colours row `row` of a list from its start column to the last column.
void PaintListRow(Grid *grid, int row, int startColumn, quint32 bgr);
// Marks row `row` of a list from its start column on, and scrolls it to the top.
void MarkListRow(Grid *grid, int row, int startColumn, bool scrollToTop);
