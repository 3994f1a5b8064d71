#pragma once

#include <QObject>
#include <QPointer>

class Sentence;
class TextBox;

// Shows the sentence in the text box: its text, the highlight, and its purpose
// as the box's colour. What the user does in the box itself (typing, pasting
// with the keyboard, selecting with the mouse) goes back to the sentence.
// It belongs to the sentence, which may outlive the box.
class SentenceView final : public QObject
{
    Q_OBJECT
public:
    SentenceView(Sentence &sentence, TextBox *box);

private:
    void showText();
    void showSelection();
    void showCursor();
    void showPurpose();
    void takeEdit();

    Sentence &m_sentence;
    QPointer<TextBox> m_box;
    bool m_showing = false;
};
