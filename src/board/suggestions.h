#pragma once

#include <QStringList>
#include <vector>

struct SharedState;
class EntryList;
class Grid;
class Sentence;

// Stored sentences offered while typing, in a list over the board.
class Suggestions
{
public:
    // The controls the suggestions own, and the board whose place they take.
    struct Controls
    {
        Grid *grdSp;
        EntryList *rows; // what grdSp shows
        const Grid *grdBoard;
        const Sentence *sentence;
    };

    Suggestions(const Controls &c, SharedState &shared);

    // Looks up stored sentences that begin with the last typed characters.
    void SuggestFromTail(const QString &text);
    void ShowSuggestions(const QString &key);

private:
    // The stored sentences that may match a key, in their order.
    QStringList candidates(const QString &key);

    Controls m_c;
    SharedState &m_shared;
    // The start of each stored sentence, for the sentences as they were when
    // these were taken: a lookup reads these, and only the sentences they pass.
    struct Starts
    {
        QStringList sentences;
        std::vector<quint64> starts;
        std::vector<quint64> readingStarts; // with the strip on: where each sentence's reading begins
        bool byReading = false;
    } m_starts;
};
