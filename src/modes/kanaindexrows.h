#pragma once

#include <QtGlobal>

struct SharedState;
class Board;
class Grid;

// Sorts the example and address lists and writes their kana-row heads.
class KanaIndexRows
{
public:
    KanaIndexRows(Grid *grdEx, Grid *grdAD, SharedState &shared, Board &board);

    void IndexSampleRows();
    // The example list's text revision when it was last indexed.
    quint64 indexedSampleRevision() const { return m_indexedSamples; }
    // False once readings are switched on or off since then: the order changes.
    bool indexedAsNow() const;
    void IndexAddressRows();

private:
    Grid *m_grdEx;
    Grid *m_grdAD;
    SharedState &m_shared;
    Board &m_board;
    quint64 m_indexedSamples = 0;
    bool m_indexedByReading = false;
};
