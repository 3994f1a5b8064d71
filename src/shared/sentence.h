#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

// The sentence being written: its text, the cursor and the highlight. The text
// ends in the cursor marker "_" while the user writes, and the next character
// goes in before the highlighted one. The text box only shows this; every
// handler changes the sentence through the operations below.
class Sentence final : public QObject
{
    Q_OBJECT
public:
    // The one definition of the cursor marker.
    static constexpr QChar Marker = u'_';
    static QString marker() { return QString(Marker); }

    // What the text is for, which the text box shows by its colour.
    enum class Purpose { Talk, Diary, Mail };

    explicit Sentence(int maxLength = 0, QObject *parent = nullptr);

    // The text as the box shows it, with the marker where it stands.
    const QString &shown() const { return m_text; }
    // The written text: without one final marker.
    QString text() const;
    int length() const { return int(m_text.size()); }
    bool endsInMarker() const { return m_text.endsWith(Marker); }
    // Nothing written: empty, or the bare marker a list action leaves.
    bool holdsNothing() const { return holdsNothing(m_text); }
    static bool holdsNothing(const QString &shown) { return shown.isEmpty() || shown == marker(); }
    int maxLength() const { return m_maxLength; }

    int anchor() const { return m_anchor; }
    int position() const { return m_position; }
    int selStart() const { return std::min(m_anchor, m_position); }
    int selLength() const { return std::abs(m_position - m_anchor); }

    Purpose purpose() const { return m_purpose; }
    void setPurpose(Purpose purpose);

    // Replaces the text (cut to the maximum length), the caret at the start.
    void setShown(const QString &text);
    // Replaces the text and puts the caret at `caret`.
    void replace(const QString &text, int caret);
    void clear() { setShown(QString()); }
    // A caret at `position`.
    void setSelStart(int position);
    // Highlights `length` characters from the selection's start.
    void setSelLength(int length);
    // Adds the marker when the text does not end in it, and highlights it.
    void highlightMarker();
    // Highlights the character after the caret when nothing is highlighted.
    void restoreHighlight();
    // Appends text (cut to the maximum length), the highlight staying where it was.
    void append(const QString &text);

    // Puts ch before the highlight and keeps the marker at the end; false, and
    // nothing changed, when the text has no room for it.
    bool insertAtHighlight(const QString &ch);
    struct Edit
    {
        QString text;
        int caret;
    };
    // The arithmetic of insertAtHighlight: empty when the result would be
    // longer than maxLength, for the character is refused whole.
    static std::optional<Edit> insertPending(const QString &text, int selStart, const QString &ch,
                                             int maxLength);

    // The edit keys; each returns false when it has reached a stop.
    bool moveRight();
    bool deleteBack();
    bool moveLeft();
    // The same column of the next or previous line; on the first or last line it stays.
    bool moveLine(bool down);

    // Where the character the user sees after or before `position` ends: the edit keys step by these.
    static int nextStop(const QString &text, int position);
    static int previousStop(const QString &text, int position);

    // What the text box makes of a text: its line breaks and spaces as it keeps them.
    static QString plain(const QString &text);

    // Set by the view: where a caret at `position` lands one line up or down.
    void setLineMover(std::function<int(int position, bool up)> mover) { m_lineMover = std::move(mover); }
    // The user edited the text box itself (typed, pasted, selected with the mouse).
    void viewEdited(const QString &text, int anchor, int position);

signals:
    // After every replacement of the text, changed or not.
    void textChanged();
    // The cursor's position changed.
    void cursorMoved();
    // The highlight changed (its anchor or its position).
    void selectionChanged();
    void purposeChanged();

private:
    void setText(const QString &text);
    int stopAtOrBefore(int position) const;
    void select(int anchor, int position);
    // The cursor keys as a text box has them.
    void shiftRight();
    void shiftLeft();
    void right();
    void left();
    void backspace();

    QString m_text;
    int m_anchor = 0;
    int m_position = 0;
    int m_maxLength;
    Purpose m_purpose = Purpose::Talk;
    std::function<int(int, bool)> m_lineMover;
};
