#pragma once

struct SharedState;
class Grid;

// Sorts the example and address lists and writes their kana-row heads.
class KanaIndexRows
{
public:
    KanaIndexRows(Grid *grdEx, Grid *grdAD, SharedState &shared);

    void IndexSampleRows();
    void IndexAddressRows();

private:
    Grid *m_grdEx;
    Grid *m_grdAD;
    SharedState &m_shared;
};
