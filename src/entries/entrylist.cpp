#include "entries/entrylist.h"

EntryList::EntryList(Shape shape) : m_shape(shape)
{
    m_cells.resize(0, shape == Shape::Headed ? 2 : 1);
}

void EntryList::setRows(int rows)
{
    m_cells.resize(rows, m_cells.cols());
    m_menuRows = std::min(m_menuRows, this->rows());
}

void EntryList::setTexts(const QStringList &texts)
{
    m_cells.setColumnTexts(textColumn(), texts);
    m_menuRows = 0;
}

void EntryList::append(const QString &text, const QString &head)
{
    const int row = rows();
    setRows(row + 1);
    setText(row, text);
    if (!head.isEmpty())
        setHead(row, head);
}

QString EntryList::text(int row) const
{
    return row >= 0 && row < rows() && textColumn() < m_cells.cols() ? m_cells.cell(row, textColumn()).text
                                                                     : QString();
}

void EntryList::setText(int row, const QString &text)
{
    m_cells.setText(row, textColumn(), text);
}

QString EntryList::head(int row) const
{
    return headColumn() >= 0 && row >= 0 && row < rows() && headColumn() < m_cells.cols()
               ? m_cells.cell(row, headColumn()).text
               : QString();
}

void EntryList::setHead(int row, const QString &head)
{
    if (headColumn() >= 0)
        m_cells.setText(row, headColumn(), head);
}

QStringList EntryList::texts() const
{
    QStringList out;
    out.reserve(rows());
    forEachText([&out](const QString &text) { out << text; });
    return out;
}

QStringList EntryList::heads() const
{
    QStringList out;
    out.reserve(rows());
    for (int r = 0; r < rows(); ++r)
        out << head(r);
    return out;
}

void EntryList::forEachText(const std::function<void(const QString &)> &f) const
{
    m_cells.forEachText(textColumn(), f);
}

QString EntryList::firstChars() const
{
    return m_cells.firstChars(textColumn());
}

int EntryList::findTrimmed(const QString &text, int fromRow) const
{
    return m_cells.findTrimmed(textColumn(), text, fromRow);
}

void EntryList::moveRow(int from, int to)
{
    m_cells.moveRow(from, to);
}

void EntryList::sortByText()
{
    m_cells.sortRows(textColumn(), textColumn(), false);
}

void EntryList::sortByHeadDescending()
{
    if (headColumn() >= 0)
        m_cells.sortRows(headColumn(), headColumn(), true);
}

void EntryList::setHeadRows(const std::vector<std::pair<qsizetype, QString>> &heads)
{
    if (headColumn() < 0)
        return;
    auto next = heads.begin();
    for (int r = 0; r < rows(); ++r) {
        if (next != heads.end() && next->first == r)
            setHead(r, (next++)->second);
        else if (!head(r).isEmpty())
            setHead(r, QString());
    }
}

void EntryList::setHeads(const QStringList &heads)
{
    for (int r = 0; r < heads.size() && r < rows(); ++r)
        setHead(r, heads[r]);
}

EntryList *EntryLists::of(ListId list)
{
    switch (list) {
    case ListId::Suggestions:
        return &suggestions;
    case ListId::Examples:
        return &examples;
    case ListId::Diary:
        return &diary;
    case ListId::Addresses:
        return &addresses;
    case ListId::Mails:
        return &mails;
    default:
        return nullptr;
    }
}
