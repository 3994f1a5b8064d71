#pragma once

struct SharedState;
class TextArea;
class TextBox;

// The read button: reads the whole text aloud, or stops the reading.
class ReadAloud
{
public:
    ReadAloud(TextBox *txtTalk, SharedState &shared, TextArea &textArea);

    void cmdRead_Click();

private:
    void finishReading();
    void watchReading();

    TextBox *m_txtTalk;
    SharedState &m_shared;
    TextArea &m_textArea;
};
