#pragma once

#include <QString>

struct SharedState;

// What 読む reads of the text box's text: all of it, without the cursor marker.
QString TextToRead(const QString &boxText);
class TextArea;
class TextBox;

// The read button: reads the whole text aloud, or stops the reading.
class ReadAloud
{
public:
    ReadAloud(TextBox *txtTalk, SharedState &shared, TextArea &textArea);

    void cmdRead_Click();
    // The text 読む reads: the whole text, without the cursor marker.
    QString textToRead() const;

private:
    void finishReading();
    void watchReading();

    TextBox *m_txtTalk;
    SharedState &m_shared;
    TextArea &m_textArea;
};
