#pragma once

#include <QString>
#include <QStringList>

struct SharedState;

// The sentences the user keeps: the stored sentences and the diary's lines.
// The candidates read them here and nowhere else, so where they are kept can
// change in this one place.
class WrittenBefore
{
public:
    explicit WrittenBefore(SharedState &shared) : m_shared(shared) {}

    // At most `max` stored sentences (the first) and `max` diary lines: the candidates look at
    // every one on each press, and a list of millions must not hold a press up.
    QStringList operator()(qsizetype max);

private:
    SharedState &m_shared;
    QString m_diaryStamp; // the diary is read again only when its file changed
    bool m_diaryRead = false;
    QStringList m_diary;
};
