#pragma once

#include <QString>

struct TalkContext;
class TalkWindow;
class Grid;

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

Mode CurrentMode(const TalkWindow &w);

// Sorts a list and writes its kana-row heads.
void IndexSampleRows(TalkContext &t);
void IndexAddressRows(TalkContext &t);

// The list button, the restart button, and the board configuration every closing path ends in.
void cmdSamp_Click(TalkContext &t);
void cmdStart_Click(TalkContext &t);
void ApplyBoardConfiguration(TalkContext &t);
// Shows the example list over the board, with its menu rows.
void ShowExampleList(TalkContext &t);
// The controls of the example list mode: the list in the board's place, Delete, list navigation.
void ShowExampleListControls(TalkContext &t);

// Decide and Back.
void cmdDec_Click(TalkContext &t);
void cmdBack_Click(TalkContext &t);
