#include "shared/sentenceview.h"

#include "platform/colors.h"
#include "platform/textbox.h"
#include "shared/sentence.h"

SentenceView::SentenceView(Sentence &sentence, TextBox *box)
    : QObject(&sentence), m_sentence(sentence), m_box(box)
{
    connect(&sentence, &Sentence::textChanged, this, &SentenceView::showText);
    connect(&sentence, &Sentence::selectionChanged, this, &SentenceView::showSelection);
    connect(&sentence, &Sentence::purposeChanged, this, &SentenceView::showPurpose);
    connect(box, &QPlainTextEdit::textChanged, this, &SentenceView::takeEdit);
    connect(box, &QPlainTextEdit::cursorPositionChanged, this, &SentenceView::takeEdit);
    connect(box, &QPlainTextEdit::selectionChanged, this, &SentenceView::takeEdit);
    sentence.setLineMover(
        [this](int position, bool up) { return m_box ? m_box->lineMove(position, up) : position; });
    showText();
}

void SentenceView::showText()
{
    if (!m_box || m_showing)
        return;
    m_showing = true;
    m_box->setText(m_sentence.shown());
    showCursor();
    m_showing = false;
}

void SentenceView::showSelection()
{
    if (!m_box || m_showing)
        return;
    m_showing = true;
    showCursor();
    m_showing = false;
}

void SentenceView::showCursor()
{
    // Placing the same cursor again only makes the box lay its text out once more.
    if (m_box->anchor() != m_sentence.anchor() || m_box->position() != m_sentence.position())
        m_box->select(m_sentence.anchor(), m_sentence.position());
}

void SentenceView::showPurpose()
{
    if (!m_box)
        return;
    switch (m_sentence.purpose()) {
    case Sentence::Purpose::Talk:
        m_box->setBackColor(Colors::White);
        break;
    case Sentence::Purpose::Diary:
        m_box->setBackColor(Colors::LightGreen);
        break;
    case Sentence::Purpose::Mail:
        m_box->setBackColor(Colors::LightBlue);
        break;
    }
}

void SentenceView::takeEdit()
{
    if (!m_box || m_showing)
        return;
    m_showing = true;
    m_sentence.viewEdited(m_box->text(), m_box->anchor(), m_box->position());
    m_showing = false;
}
