#pragma once

#include <QString>

struct SharedState;
class TalkWindow;

// Stored sentences offered while typing, in a list over the board.
class Suggestions
{
public:
    Suggestions(TalkWindow &w, SharedState &shared);

    // Looks up stored sentences that begin with the last typed characters.
    void SuggestFromTail(const QString &text);
    void ShowSuggestions(const QString &key);

private:
    TalkWindow &m_w;
    SharedState &m_shared;
};
