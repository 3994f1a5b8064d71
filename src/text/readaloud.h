#pragma once

struct SharedState;
class TextArea;
class Sentence;

// The read button: reads the whole text aloud, or stops the reading.
class ReadAloud
{
public:
    ReadAloud(Sentence &sentence, SharedState &shared, TextArea &textArea);

    void cmdRead_Click();

private:
    void finishReading();
    void watchReading();

    Sentence &m_sentence;
    SharedState &m_shared;
    TextArea &m_textArea;
};
