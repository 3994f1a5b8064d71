#include "app/startup.h"

#include "app/figureplacement.h"
#include "app/okdialog.h"
#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "board/board.h"
#include "board/boardpages.h"
#include "entries/entries.h"
#include "modes/modes.h"
#include "platform/character.h"
#include "platform/fonts.h"
#include "platform/services.h"
#include "platform/textbox.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>

namespace {

const QString CharacterName = QStringLiteral("Genie");
constexpr int Japanese = 1041;

} // namespace

QString CharacterFilePath(const QString &appPath)
{
    // Beside the program first (a build, or a copy the user keeps there), then where it is installed.
    const QString name = QStringLiteral("genie.acs");
    const QString beside = QDir(appPath).filePath(name);
    if (QFileInfo::exists(beside))
        return beside;
    for (const QString &folder : {QDir(appPath).filePath(QStringLiteral("../share/pirokan")),
                                  QStringLiteral(PIROKAN_DATA_INSTALL_DIR)}) {
        const QString installed = QDir::cleanPath(QDir(folder).filePath(name));
        if (QFileInfo::exists(installed))
            return installed;
    }
    return beside; // missing: named in the message, where it is looked for first
}

void ApplyTextSize(TalkContext &t)
{
    Fonts::set(t.w->txtTalk, Fonts::Gothic, talkFontPoints(t.settings), true);
}

bool LoadTalkWindow(TalkContext &t, QString *error)
{
    t.settings = ReadSettings(*t.sv.settings);
    BusyScope busy; // the hourglass until start-up ends, however it ends
    t.w->setWindowTitle(QStringLiteral("Pirokan!  Ver ") + QStringLiteral(PIROKAN_VERSION));
    t.w->txtTalk->setText(QString());
    t.boardRow = 0;
    t.boardCol = 0;
    ApplyTextSize(t);
    BuildBoardPage(t);
    EntryFiles::EnsureEntryFiles(t);
    LoadSampleFile(t);
    IndexSampleRows(t);

    const QString file = CharacterFilePath(t.gAppPath);
    if (!t.sv.agent->load(CharacterName, file, error))
        return false;
    t.gCharacter = t.sv.agent->character(CharacterName);
    if (!t.gCharacter) {
        if (error)
            *error = QObject::tr("話すキャラクター「%1」が、ファイル「genie.acs」にありません。Pirokan "
                                 "を始められません。\n"
                                 "フォルダー：%2")
                         .arg(CharacterName, QDir::toNativeSeparators(t.gAppPath));
        return false;
    }
    // Without a voice the program still works, but the user must know it cannot speak for them.
    t.gCharacter->setMuteHandler([&t] {
        ShowOKDialog(t,
                     QObject::tr("声が出せません。音声合成か音の出力が使えません。\n"
                                 "文字を書くことと保存はこのまま使えます。\n"
                                 "直し方は README の「Troubleshooting」を見てください。"),
                     OkDialog::Notice, QStringLiteral("Pirokan"));
    });
    t.gCharacter->setLanguageId(Japanese);
    t.gCharacter->show();
    (new FigurePlacement(t.w, t.gCharacter))->place();
    t.gCharacter->play(QStringLiteral("greet"));
    // Every board character is made ready in the background, so a press is heard at once.
    t.gCharacter->prepare(BoardPages::everyCharacter());
    return true;
}
