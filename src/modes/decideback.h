#pragma once

#include <QString>
#include <QtGlobal>

struct SharedState;
class EntryFiles;
class Grid;
class KanaIndexRows;
class TalkWindow;
class TextArea;

// Decide takes the highlighted list row; Back leaves an opened entry, or
// (as 決定) goes from an address on to the mails and from a mail to sending.
class DecideBack
{
public:
    DecideBack(TalkWindow &w, SharedState &shared, TextArea &textArea, EntryFiles &files,
               KanaIndexRows &indexRows);

    void cmdDec_Click();
    void cmdBack_Click();

    // The recipient an address entry was decided with.
    const QString &mailName() const { return gMailName; }
    const QString &mailAddress() const { return gMailAddr; }

private:
    bool decideExample();
    void openEntry(Grid *list, int column, quint32 back, const QString &listCaption,
                   const QString &backCaption);
    void showAddressList();
    void showMailList();

    TalkWindow &m_w;
    SharedState &m_shared;
    TextArea &m_textArea;
    EntryFiles &m_files;
    KanaIndexRows &m_indexRows;

    QString gMailName;
    QString gMailAddr;
};
