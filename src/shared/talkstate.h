#pragma once

#include <QObject>
#include <QString>
#include <array>

// The working modes of the main window.
enum class Mode {
    Board,
    Suggest,
    ExampleList,
    DiaryList,
    DiaryEntry,
    AddressList,
    AddressEntry,
    MailList,
    MailEntry,
};

// The five lists: the suggestions while typing and the four lists of entries.
// None names no list: the board, or an entry opened from a list.
enum class ListId { None = -1, Suggestions, Examples, Diary, Addresses, Mails };
constexpr int ListCount = 5;

// The three character sets of the board.
enum class CharSet { Hiragana, Katakana, Alphanumeric };

// What fills the window below the text area.
enum class Screen {
    Board, // the board with the edit keys
    List,  // a list in the board's place, with the list keys
    Entry, // an opened entry, with Revise and Back
};

// The entry keys' second button: back to the list, or on to the next step (決定).
enum class BackAction { Back, Decide };

// What the main window is doing, held here rather than in its captions: every
// handler reads and changes it, and the window's captions, visibility and
// text-area height follow it (changed() after every change).
class TalkState final : public QObject
{
    Q_OBJECT
public:
    // The mode on screen. The suggestion list counts whenever it shows, also
    // while a diary or address entry is being revised on the board.
    Mode mode() const;

    // The list mode the list button closes; None while it offers the examples.
    ListId listMode() const { return m_listMode; }
    void setListMode(ListId list);

    Screen screen() const { return m_screen; }
    // The list on show; None unless the screen is a list.
    ListId shownList() const { return m_screen == Screen::List ? m_shownList : ListId::None; }
    void showBoard();
    void showList(ListId list);
    void showEntry();

    // The selection screen over the board.
    bool selectionOpen() const { return m_selectionOpen; }
    void setSelectionOpen(bool open);

    CharSet charSet() const { return m_charSet; }
    void setCharSet(CharSet set);

    bool reading() const { return m_reading; }
    void setReading(bool reading);

    // A call for help sounds: what would take the room's sound for the user's (a microphone
    // recording) waits for it to end.
    bool calling() const { return m_calling; }
    void setCalling(bool calling);

    // The text area reaching down over the board (widened by hand, for an entry, or to read).
    bool textAreaTall() const { return m_tall; }
    // Widened by hand or for an entry: the widen button then offers to narrow it.
    bool textAreaWidened() const { return m_widened; }
    // Normal height; the widen button offers to widen.
    void narrowTextArea();
    // Tall, by hand (widened) or only to read.
    void widenTextArea(bool widened);

    BackAction backAction() const { return m_back; }
    void setBackAction(BackAction back);

    // The character waiting to be inserted at the highlight.
    const QString &pendingChar() const { return m_pending; }
    void setPendingChar(const QString &s);

    // The row of the list on show that the list keys move and Decide takes.
    // Not on screen by itself (the chosen row's colour is), so no changed().
    int listRow() const { return m_listRow; }
    void setListRow(int row) { m_listRow = row; }
    // The row an opened entry came from, where a save puts it back, and what of it did not fit in
    // the text box, which a save puts back after the text as it stood.
    int editRow() const { return m_editRow; }
    const QString &editTail() const { return m_editTail; }
    void setEditRow(int row, const QString &tail = {})
    {
        m_editRow = row;
        m_editTail = tail;
    }
    void forgetEditTail() { m_editTail.clear(); }
    // The last confirmation answer, kept until the next question.
    bool okAnswer() const { return m_okAnswer; }
    void setOkAnswer(bool yes) { m_okAnswer = yes; }

    // The row shown chosen in a list; -1 when none is.
    int chosenRow(ListId list) const;
    void setChosenRow(ListId list, int row);

signals:
    void changed();

private:
    void show(Screen screen, ListId list);

    ListId m_listMode = ListId::None;
    Screen m_screen = Screen::Board;
    ListId m_shownList = ListId::None;
    bool m_selectionOpen = false;
    // Until the first page is built the button names the set before hiragana.
    CharSet m_charSet = CharSet::Alphanumeric;
    bool m_reading = false;
    bool m_calling = false;
    bool m_tall = false;
    bool m_widened = false;
    BackAction m_back = BackAction::Back;
    QString m_pending;
    std::array<int, ListCount> m_chosen{-1, -1, -1, -1, -1};
    qint32 m_listRow = 0;
    qint32 m_editRow = 0;
    QString m_editTail;
    bool m_okAnswer = false;
};
