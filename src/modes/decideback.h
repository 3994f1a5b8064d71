#pragma once

#include "entries/listselection.h"
#include "modes/decide.h"

#include <QString>
#include <QtGlobal>

struct EntryLists;
struct SharedState;
class Board;
class EntryFiles;
class KanaIndexRows;
class QWidget;
class TextArea;
class Sentence;

// Decide takes the highlighted list row; Back leaves an opened entry, or
// (as 決定) goes from an address on to the mails and from a mail to sending.
class DecideBack
{
public:
    // The lists Decide takes from, the text, and the window, which is disabled while Decide works.
    struct Controls
    {
        QWidget *window;
        ListGrids lists;
        QWidget *txtTalk; // the text box, which takes the focus back
    };

    DecideBack(const Controls &c, const EntryLists &rows, Sentence &sentence, SharedState &shared,
               Board &board, TextArea &textArea, EntryFiles &files, KanaIndexRows &indexRows);

    void cmdDec_Click();
    void cmdBack_Click();

    // The recipient an address entry was decided with.
    const QString &mailName() const { return gMailName; }
    const QString &mailAddress() const { return gMailAddr; }

private:
    bool decideExample();
    void putIn(const DecideMath::Edit &edit);
    // The text of the row Decide takes in a list; the board's two-press memory goes.
    QString pickRow(ListId list);
    void openEntry(ListId list, BackAction backAction);
    void showAddressList();
    void showMailList();

    Controls m_c;
    const EntryLists &m_rows;
    Sentence &m_sentence;
    SharedState &m_shared;
    Board &m_board;
    TextArea &m_textArea;
    EntryFiles &m_files;
    KanaIndexRows &m_indexRows;

    QString gMailName;
    QString gMailAddr;
};
