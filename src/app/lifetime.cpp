#include "app/lifetime.h"

#include "access/accessdialog.h"
#include "app/figureplacement.h"
#include "app/talkwindow.h"
#include "board/board.h"
#include "board/boardpages.h"
#include "entries/entryfiles.h"
#include "modes/kanaindexrows.h"
#include "platform/character.h"
#include "platform/controls.h"
#include "platform/fonts.h"
#include "platform/modalrunner.h"
#include "platform/services.h"
#include "platform/textbox.h"
#include "recordings/openrecordings.h"
#include "shared/okdialog.h"
#include "shared/optionsdialog.h"
#include "shared/sentence.h"
#include "shared/sharedstate.h"
#include "shared/voiceadjust.h"
#include "text/readaloud.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>

namespace {

const QString CharacterName = QStringLiteral("Genie");
constexpr int Japanese = 1041;

} // namespace

Lifetime::Lifetime(TalkWindow &w, Sentence &sentence, SharedState &shared, Board &board, EntryFiles &files,
                   KanaIndexRows &indexRows, const QString &appPath)
    : m_w(w), m_txtTalk(w.controls().txtTalk), m_sentence(sentence), m_shared(shared), m_board(board),
      m_files(files), m_indexRows(indexRows), gAppPath(appPath)
{}

QString Lifetime::CharacterFilePath(const QString &appPath)
{
    return DataFilePath(appPath, QStringLiteral("genie.acs"));
}

QString Lifetime::DataFilePath(const QString &appPath, const QString &name)
{
    // Beside the program first (a build, or a copy the user keeps there), then where it is installed.
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

void Lifetime::ApplyTextSize()
{
    Fonts::set(m_txtTalk, Fonts::Gothic, talkFontPoints(m_shared.settings), true);
}

bool Lifetime::LoadTalkWindow(QString *error)
{
    m_shared.settings = ReadSettings(*m_shared.sv.settings);
    BusyScope busy; // the hourglass until start-up ends, however it ends
    m_w.setWindowTitle(QStringLiteral("Pirokan!  Ver ") + QStringLiteral(PIROKAN_VERSION));
    m_sentence.clear();
    ApplyTextSize();
    m_board.BuildBoardPage();
    m_files.EnsureEntryFiles();
    m_files.LoadSampleFile();
    m_indexRows.IndexSampleRows();

    const QString file = CharacterFilePath(gAppPath);
    if (!m_shared.sv.agent->load(CharacterName, file, error))
        return false;
    Character *character = m_shared.sv.agent->character(CharacterName);
    if (!character) {
        if (error)
            *error = QObject::tr("話すキャラクター「%1」が、ファイル「genie.acs」にありません。Pirokan "
                                 "を始められません。\n"
                                 "フォルダー：%2")
                         .arg(CharacterName, QDir::toNativeSeparators(gAppPath));
        return false;
    }
    m_shared.gCharacter = character;
    // Without a voice the program still works, but the user must know it cannot speak for them.
    character->setMuteHandler([this] {
        ShowOKDialog(m_shared,
                     QObject::tr("声が出せません。音声合成か音の出力が使えません。\n"
                                 "文字を書くことと保存はこのまま使えます。\n"
                                 "直し方は README の「Troubleshooting」を見てください。"),
                     OkDialog::Notice, QStringLiteral("Pirokan"));
    });
    character->setLanguageId(Japanese);
    character->show();
    (new FigurePlacement(&m_w, character))->place();
    character->play(QStringLiteral("greet"));
    // Every board character is made ready in the background, so a press is heard at once.
    character->prepare(BoardPages::everyCharacter());
    return true;
}

void Lifetime::cmdOpt_Click()
{
    OptionsDialog::WaysOfPressing waysOfPressing;
    if (SettingsStore *store = m_shared.sv.access) {
        waysOfPressing = [this, store](QWidget *parent) -> std::optional<QString> {
            AccessDialog dialog(*store, parent, m_shared.callForHelp);
            m_shared.sv.modal->run(dialog);
            if (dialog.result() != QDialog::Accepted)
                return std::nullopt;
            return dialog.saveError();
        };
    }
    OptionsDialog::OwnVoice ownVoice;
    const VoiceAdjust adjust = ReadVoiceAdjust(*m_shared.sv.settings);
    Character *character = m_shared.gCharacter;
    bool previewed = false;
    if (m_shared.sv.bank && m_shared.sv.input) {
        ownVoice.recordings = [this](QWidget *parent) {
            OpenRecordings(m_shared, TextToRead(m_sentence.shown()), parent);
        };
        ownVoice.speed = adjust.speed.value_or(1.0);
        ownVoice.pitch = adjust.pitch.value_or(0.0);
        if (character)
            ownVoice.preview = [character, &previewed](double speed, double pitch) {
                previewed = true;
                character->adjustVoice(speed, pitch);
                character->speak(QStringLiteral("こんにちは。これがわたしの声です。"));
            };
    }
    OptionsDialog dialog(*m_shared.sv.settings, &m_w, m_shared.sv.login, waysOfPressing, m_shared.sv.call,
                         ownVoice, m_shared.callForHelp);
    m_shared.sv.modal->run(dialog);
    // The ways of pressing apply at once, whether or not the other options were confirmed.
    if (accessChanged)
        accessChanged();
    if (!dialog.accessSaveError().isEmpty())
        ShowOKDialog(m_shared, dialog.accessSaveError(), OkDialog::Notice, QStringLiteral("Pirokan"));
    const auto [speed, pitch] = dialog.chosenVoice();
    const bool voiceChanged = dialog.result() == QDialog::Accepted && dialog.cmbPitch &&
                              (speed != ownVoice.speed || pitch != ownVoice.pitch);
    if (character && (voiceChanged || previewed)) {
        // A preview that was not confirmed leaves the voice as it was.
        const bool keep = dialog.result() == QDialog::Accepted;
        character->adjustVoice(keep ? speed : ownVoice.speed, keep ? pitch : ownVoice.pitch);
        character->prepare(BoardPages::everyCharacter());
    }
    if (dialog.result() != QDialog::Accepted)
        return;
    // What was confirmed applies now, even when the store could not keep it.
    m_shared.settings = dialog.shown();
    if (!dialog.saveError().isEmpty())
        ShowOKDialog(m_shared, dialog.saveError(), OkDialog::Notice, QStringLiteral("Pirokan"));
    ApplyTextSize();
    // The board starts again from hiragana.
    m_shared.state.setCharSet(CharSet::Alphanumeric);
    m_board.BuildBoardPage();
    if (optionsApplied)
        optionsApplied();
}

void Lifetime::cmdEnd_Click()
{
    // A slip on the small exit button must not throw away what was written.
    if (!m_sentence.holdsNothing()) {
        if (!ShowOKDialog(m_shared, QStringLiteral("書いた文は消えます。終了してもいいですか？"),
                          OkDialog::OkCancel, QStringLiteral("終了")))
            return;
    }
    m_w.close();
}
