#pragma once

#include <QString>

struct SharedState;

// What 読む reads of the sentence as shown: all of it, without the cursor marker.
QString TextToRead(const QString &shown);
class TextArea;
class Sentence;

// The read button: reads the whole text aloud, or stops the reading.
class ReadAloud
{
public:
    ReadAloud(Sentence &sentence, SharedState &shared, TextArea &textArea);

    void cmdRead_Click();
    // The text 読む reads: the whole text, without the cursor marker.
    QString textToRead() const;

private:
    void finishReading();
    void watchReading();

    Sentence &m_sentence;
    SharedState &m_shared;
    TextArea &m_textArea;
};
