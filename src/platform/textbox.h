#pragma once

#include <QPlainTextEdit>

// A multi-line text box worked through its text, selection start and length,
// and the keystrokes the program sends it. Lines break at any character, and
// the selection stays visible while another control is pressed.
class TextBox final : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent, int maxLength = 0);

    QString text() const { return toPlainText(); }
    // Sets the text (cut to the maximum length); the caret goes to the start.
    void setText(const QString &text);
    int length() const { return int(text().size()); }

    int selStart() const;
    void setSelStart(int position);
    int selLength() const;
    void setSelLength(int length);
    QString selText() const;

    // The cursor: where the highlight began and where it ends now.
    int anchor() const { return textCursor().anchor(); }
    int position() const { return textCursor().position(); }
    void select(int anchor, int position);
    // Where a caret at `position` lands one line up or down, as the lines are laid out now.
    int lineMove(int position, bool up) const;

    void setBackColor(quint32 bgr);
    quint32 backColor() const { return m_back; }
    int maxLength() const { return m_maxLength; }

private:
    void enforceMaxLength();

    int m_maxLength;
    quint32 m_back = 0xFFFFFF;
    bool m_enforcing = false;
};
