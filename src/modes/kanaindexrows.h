#pragma once

struct SharedState;
class TalkWindow;

// Sorts the example and address lists and writes their kana-row heads.
class KanaIndexRows
{
public:
    KanaIndexRows(TalkWindow &w, SharedState &shared);

    void IndexSampleRows();
    void IndexAddressRows();

private:
    TalkWindow &m_w;
    SharedState &m_shared;
};
