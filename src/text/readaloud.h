#pragma once

struct SharedState;
class TalkWindow;
class TextArea;

// The read button: reads the whole text aloud, or stops the reading.
class ReadAloud
{
public:
    ReadAloud(TalkWindow &w, SharedState &shared, TextArea &textArea);

    void cmdRead_Click();

private:
    void finishReading();
    void watchReading();

    TalkWindow &m_w;
    SharedState &m_shared;
    TextArea &m_textArea;
};
