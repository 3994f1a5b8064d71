#pragma once

#include <QString>

class Grid;
class TalkWindow;

// The working modes of the main window. No variable holds the mode: it is read
// back from the list button's caption and which list grid is shown.
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

namespace ListCaption {
inline const QString ShowExamples = QStringLiteral("例文表示");
inline const QString EndExamples = QStringLiteral("例文終了");
inline const QString EndDiary = QStringLiteral("日記終了");
inline const QString EndAddresses = QStringLiteral("ﾒﾙｱﾄﾞ終了");
inline const QString EndMail = QStringLiteral("ﾒｰﾙ終了");
} // namespace ListCaption

// The mode on screen. The suggestion list counts whenever it shows, also while
// a diary or address entry is being revised on the board.
Mode CurrentMode(const TalkWindow &w);

// The list grid on show; null when none is.
Grid *ListOnShow(const TalkWindow &w);

// What each screen shows. Every mode is one of these three, with the list
// button's caption and the register and delete buttons set by ShowListButton.
namespace Screen {
// The board with the edit keys, no list.
void board(TalkWindow &w);
// A list in the board's place, with the list keys.
void list(TalkWindow &w, Grid *list);
// An opened entry in the text area, with Revise and Back.
void entry(TalkWindow &w);
} // namespace Screen

// The list button's caption, and whether Register and Delete show beside it.
void ShowListButton(TalkWindow &w, const QString &caption, bool add, bool del);

// The controls of the example list mode: the list in the board's place, Delete, list navigation.
void ShowExampleListControls(TalkWindow &w);
