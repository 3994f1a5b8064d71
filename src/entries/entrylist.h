#pragma once

#include "platform/gridmodel.h"
#include "shared/talkstate.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

// The rows of one list (the suggestions, example sentences, diary, addresses, mails) as
// the program keeps them: each row's text, and beside it, in a headed list,
// its head: the kana row its group begins ("あ行"), or in the diary the
// entry's date. The list's grid shows these cells; the program reads and
// changes the rows only here, so a list of millions of rows is held once.
class EntryList
{
public:
    enum class Shape {
        Headed, // the head beside the text
        Plain   // the text alone
    };

    explicit EntryList(Shape shape);
    EntryList(const EntryList &) = delete;
    EntryList &operator=(const EntryList &) = delete;

    // The cells a grid shows: the head, if any, in the first column, then the text.
    GridModel &cells() { return m_cells; }
    const GridModel &cells() const { return m_cells; }

    int rows() const { return m_cells.rows(); }
    // Empty rows are added at the end, or rows dropped from it.
    void setRows(int rows);
    // One row for each text, with no heads.
    void setTexts(const QStringList &texts);
    // Adds one row at the end.
    void append(const QString &text, const QString &head = {});

    // A row outside the list reads empty and changes nothing.
    QString text(int row) const;
    void setText(int row, const QString &text);
    QString head(int row) const;
    void setHead(int row, const QString &head);

    QStringList texts() const;
    QStringList heads() const;
    // Calls f with each row's text in row order, quickly however the rows were sorted.
    void forEachText(const std::function<void(const QString &)> &f) const;
    // The first character of each row's text (a null character for an empty text).
    QString firstChars() const;
    // The first row from fromRow on whose text, without half-width spaces at
    // either end, is the given text; -1 when none is.
    int findTrimmed(const QString &text, int fromRow = 0) const;
    // How many rows at the top are the list's menu (the example list's diary
    // and mail rows) rather than entries: none once the list is filled anew.
    int menuRows() const { return m_menuRows; }
    void setMenuRows(int rows) { m_menuRows = std::clamp(rows, 0, this->rows()); }
    // Changes whenever a text or the order of the rows does.
    quint64 revision() const { return m_cells.textRevision(); }

    // Moves a row, with its head, to another place; the rows between shift by one.
    void moveRow(int from, int to);
    // Orders the rows by their texts (ordinal, stable), heads moving with them.
    void sortByText();
    // Orders the rows by their heads, the greatest first (the diary: newest date first).
    void sortByHeadDescending();

    // Heads at the given rows and none elsewhere; rows in ascending order.
    void setHeadRows(const std::vector<std::pair<qsizetype, QString>> &heads);
    // One head for each row from the first (an empty one for none).
    void setHeads(const QStringList &heads);

private:
    int headColumn() const { return m_shape == Shape::Headed ? 0 : -1; }
    int textColumn() const { return m_shape == Shape::Headed ? 1 : 0; }

    Shape m_shape;
    GridModel m_cells;
    int m_menuRows = 0;
};

// The program's lists: the suggestions offered while typing and the four stored lists.
struct EntryLists
{
    EntryList suggestions{EntryList::Shape::Plain};
    EntryList examples{EntryList::Shape::Headed};
    EntryList diary{EntryList::Shape::Headed}; // headed by each entry's date
    EntryList addresses{EntryList::Shape::Headed};
    EntryList mails{EntryList::Shape::Plain};

    EntryList *of(ListId list);
    const EntryList *of(ListId list) const { return const_cast<EntryLists *>(this)->of(list); }
};
