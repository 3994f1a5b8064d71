#include "platform/textbox.h"

#include "platform/colors.h"

#include <QTextBlock>
#include <QTextCursor>

TextBox::TextBox(QWidget *parent, int maxLength) : QPlainTextEdit(parent), m_maxLength(maxLength)
{
    setWordWrapMode(QTextOption::WrapAnywhere);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    QPalette p = palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
    setPalette(p);
    connect(this, &QPlainTextEdit::textChanged, this, &TextBox::enforceMaxLength);
}

void TextBox::setText(const QString &text)
{
    setPlainText(m_maxLength > 0 ? text.left(m_maxLength) : text);
}

void TextBox::enforceMaxLength()
{
    if (m_maxLength <= 0 || m_enforcing || document()->characterCount() - 1 <= m_maxLength)
        return;
    m_enforcing = true;
    QTextCursor cursor = textCursor();
    const int pos = cursor.position();
    const int anchor = cursor.anchor();
    QTextCursor cut(document());
    cut.setPosition(m_maxLength);
    cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cut.removeSelectedText();
    cursor.setPosition(std::min(anchor, m_maxLength));
    cursor.setPosition(std::min(pos, m_maxLength), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    m_enforcing = false;
}

int TextBox::selStart() const
{
    return textCursor().selectionStart();
}

void TextBox::setSelStart(int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(position, 0, length()));
    setTextCursor(cursor);
}

int TextBox::selLength() const
{
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void TextBox::setSelLength(int length)
{
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    cursor.setPosition(start);
    cursor.setPosition(std::clamp(start + std::max(0, length), 0, this->length()), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QString TextBox::selText() const
{
    return textCursor().selectedText();
}

void TextBox::select(int anchor, int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(anchor, 0, length()));
    cursor.setPosition(std::clamp(position, 0, length()), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

int TextBox::lineMove(int position, bool up) const
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(position, 0, length()));
    cursor.movePosition(up ? QTextCursor::Up : QTextCursor::Down);
    return cursor.position();
}

void TextBox::setBackColor(quint32 bgr)
{
    m_back = bgr;
    QPalette p = palette();
    p.setColor(QPalette::Base, Colors::fromBgr(bgr));
    setPalette(p);
}
