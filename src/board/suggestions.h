#pragma once

#include <QString>

struct SharedState;
class Grid;
class TextBox;

// Stored sentences offered while typing, in a list over the board.
class Suggestions
{
public:
    // The controls the suggestions own, and the board whose place they take.
    struct Controls
    {
        Grid *grdSp;
        const Grid *grdBoard;
        TextBox *txtTalk;
    };

    Suggestions(const Controls &c, SharedState &shared);

    // Looks up stored sentences that begin with the last typed characters.
    void SuggestFromTail(const QString &text);
    void ShowSuggestions(const QString &key);

private:
    Controls m_c;
    SharedState &m_shared;
};
