#include "shared/sentence.h"

#include <QTextBoundaryFinder>
#include <algorithm>

Sentence::Sentence(int maxLength, QObject *parent) : QObject(parent), m_maxLength(maxLength) {}

QString Sentence::text() const
{
    return endsInMarker() ? m_text.chopped(1) : m_text;
}

void Sentence::setPurpose(Purpose purpose)
{
    m_purpose = purpose;
    emit purposeChanged();
}

QString Sentence::plain(const QString &text)
{
    // A text box keeps CR LF, CR and the Unicode separators as one line break,
    // and gives a no-break space back as a space.
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'\r':
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += u'\n';
            break;
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
        case 0xfdd0: // the frame marks a text document keeps
        case 0xfdd1:
            out += u'\n';
            break;
        case QChar::Nbsp:
            out += u' ';
            break;
        default:
            out += c;
        }
    }
    return out;
}

void Sentence::setText(const QString &text)
{
    QString t = plain(text);
    if (m_maxLength > 0 && t.size() > m_maxLength) {
        // A cut never leaves half a character outside the basic plane behind.
        qsizetype keep = m_maxLength;
        if (t[keep].isLowSurrogate() && t[keep - 1].isHighSurrogate())
            --keep;
        t.truncate(keep);
    }
    m_text = t;
    emit textChanged();
}

int Sentence::nextStop(const QString &text, int position)
{
    // A character as the user sees it: a surrogate pair, a base with its combining marks, an emoji
    // sequence. Moving and deleting never split one.
    if (position >= text.size())
        return int(text.size());
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.setPosition(std::max(0, position));
    const qsizetype next = finder.toNextBoundary();
    return next < 0 ? int(text.size()) : int(next);
}

int Sentence::previousStop(const QString &text, int position)
{
    if (position <= 0)
        return 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.setPosition(std::min(position, int(text.size())));
    const qsizetype previous = finder.toPreviousBoundary();
    return previous < 0 ? 0 : int(previous);
}

int Sentence::stopAtOrBefore(int position) const
{
    position = std::clamp(position, 0, length());
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, m_text);
    finder.setPosition(position);
    return finder.isAtBoundary() ? position : previousStop(m_text, position);
}

void Sentence::select(int anchor, int position)
{
    anchor = std::clamp(anchor, 0, length());
    position = std::clamp(position, 0, length());
    const bool moved = position != m_position;
    const bool changed = moved || anchor != m_anchor;
    m_anchor = anchor;
    m_position = position;
    if (moved)
        emit cursorMoved();
    if (changed)
        emit selectionChanged();
}

void Sentence::setShown(const QString &text)
{
    // The caret is at the start before the new text is announced, as a text box has it.
    m_anchor = m_position = 0;
    setText(text);
    emit cursorMoved();
    emit selectionChanged();
}

void Sentence::replace(const QString &text, int caret)
{
    setShown(text);
    setSelStart(caret);
}

void Sentence::setSelStart(int position)
{
    position = stopAtOrBefore(position);
    select(position, position);
}

void Sentence::setSelLength(int length)
{
    // The highlight ends where a character ends, never inside one.
    const int start = selStart();
    int end = std::min(start + std::max(0, length), this->length());
    if (stopAtOrBefore(end) != end)
        end = nextStop(m_text, end);
    select(start, end);
}

void Sentence::highlightMarker()
{
    if (!endsInMarker())
        setShown(m_text + Marker);
    setSelStart(length() - 1);
    setSelLength(1);
}

void Sentence::restoreHighlight()
{
    if (selLength() == 0)
        shiftRight();
}

void Sentence::append(const QString &text)
{
    const int start = selStart(), length = selLength();
    setShown(m_text + text);
    setSelStart(start);
    setSelLength(length);
}

std::optional<Sentence::Edit> Sentence::insertPending(const QString &text, int selStart, const QString &ch,
                                                      int maxLength)
{
    int a = std::clamp(selStart, 0, int(text.size()));
    // A caret after the closing marker (a tap past the end of the text) writes before it, not after.
    if (a == text.size() && text.endsWith(Marker))
        --a;
    QString t = text.left(a) + ch + text.mid(a);
    if (!t.endsWith(Marker))
        t += Marker;
    // Cutting an over-long text would take the marker off its end.
    if (maxLength > 0 && t.size() > maxLength)
        return std::nullopt;
    return Edit{t, a + int(ch.size())};
}

bool Sentence::insertAtHighlight(const QString &ch)
{
    const auto result = insertPending(m_text, qint16(selStart()), ch, m_maxLength);
    if (!result)
        return false;
    replace(result->text, result->caret);
    return true;
}

void Sentence::shiftRight()
{
    if (m_position < length())
        select(m_anchor, nextStop(m_text, m_position));
}

void Sentence::shiftLeft()
{
    if (m_position > 0)
        select(m_anchor, previousStop(m_text, m_position));
}

void Sentence::right()
{
    if (selLength() > 0)
        setSelStart(selStart() + selLength());
    else if (m_position < length())
        setSelStart(nextStop(m_text, m_position));
}

void Sentence::left()
{
    if (selLength() > 0)
        setSelStart(selStart());
    else if (m_position > 0)
        setSelStart(previousStop(m_text, m_position));
}

void Sentence::backspace()
{
    int from = selStart(), to = from + selLength();
    if (from == to) {
        if (from == 0)
            return;
        from = previousStop(m_text, from);
    }
    m_text.remove(from, to - from);
    m_anchor = m_position = from;
    emit textChanged();
    emit cursorMoved();
    emit selectionChanged();
}

bool Sentence::moveRight()
{
    const int p = selStart();
    const int L = length();
    const bool onLast = p < L && nextStop(m_text, p) == L;
    if (onLast && !endsInMarker()) {
        setShown(m_text + Marker);
        setSelStart(length() - 1);
        shiftRight();
        return false;
    }
    if (onLast || p >= L)
        return false;
    if (selLength() != 0) {
        setSelLength(0);
        right();
    }
    shiftRight();
    return true;
}

bool Sentence::deleteBack()
{
    const bool highlighted = selLength() != 0;
    if (!highlighted && selStart() == length() && endsInMarker())
        setSelStart(length() - 1); // a caret after the marker: the character before it goes
    const int p = selStart();
    if (p == length() - 1 && endsInMarker()) {
        // The character before the marker goes, from the highlight or from a caret alike.
        if (highlighted)
            left();
        backspace();
    } else {
        backspace();
        if (highlighted)
            left();
    }
    shiftRight();
    return false;
}

bool Sentence::moveLeft()
{
    if (selStart() == 0)
        return false;
    setSelLength(0);
    shiftLeft();
    return true;
}

bool Sentence::moveLine(bool down)
{
    // From the highlight's start, whichever way it was made, so the column is kept.
    const int before = selStart();
    setSelStart(before);
    const int landed = m_lineMover ? m_lineMover(before, !down) : before;
    // Past the end of a short last line the marker is highlighted.
    setSelStart(landed == before ? before : std::min(landed, length() - 1));
    setSelLength(1);
    return true;
}

void Sentence::viewEdited(const QString &text, int anchor, int position)
{
    if (text != m_text) {
        m_text = text;
        emit textChanged();
    }
    select(anchor, position);
}
