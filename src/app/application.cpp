#include "app/application.h"

#include "app/lifetime.h"
#include "app/talkprogram.h"
#include "app/talkwindow.h"
#include "app/voicecommand.h"
#include "platform/conversion/backgroundconversion.h"
#include "platform/conversion/learningstore.h"
#include "platform/conversion/mozcengine.h"
#include "platform/conversion/wordlist.h"
#include "platform/entrystorage.h"
#include "platform/keyrepeatguard.h"
#include "platform/loginstart.h"
#include "platform/modalrunner.h"
#include "platform/privatefile.h"
#include "platform/services.h"
#include "platform/settingsstore.h"
#include "platform/singleinstance.h"
#include "platform/speech/audiooutput.h"
#include "platform/speech/voiceagent.h"
#include "platform/textbox.h"
#include "platform/voicebank/soundinput.h"
#include "platform/voicebank/voicebank.h"
#include "shared/okdialog.h"
#include "shared/voiceadjust.h"

#include <QApplication>
#include <QDir>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <cstdio>

Q_LOGGING_CATEGORY(lcApp, "pirokan.app")

namespace {

// Answers --version and --help without a display; -1 when neither was asked.
int answerCommandLine(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--version" || arg == "-v") {
            std::printf("pirokan %s\nLicense GPL-3.0-or-later: GNU GPL version 3 or later.\n",
                        PIROKAN_VERSION);
            return 0;
        }
        if (arg == "--help" || arg == "-h") {
            std::printf(
                "Usage: pirokan [--help] [--version] [--import-voice DIR]\n\n"
                "Pirokan speaks for people who cannot speak or type: press characters on a large\n"
                "kana board by touch or mouse, and Pirokan says each one and the finished sentence\n"
                "in a Japanese voice. It keeps your own sentences, diary, addresses and mails.\n\n"
                "--import-voice DIR banks the sound files of DIR (listed in DIR/index.tsv as\n"
                "\"text<TAB>file\", or named by their text), one line per file; it replaces nothing.\n\n"
                "Files:\n"
                "  options       ~/.config/Talk/Talk.conf (section [OPT])\n"
                "  your entries  ~/.local/share/Pirokan/ (Talk.txt, day.txt, addres.txt, mail.txt)\n"
                "  speech cache  ~/.cache/Pirokan/voice/\n"
                "  your voice    voice-bank/ beside your entries (index.tsv and FLAC files)\n"
                "  character     genie.acs beside the program, or in %s\n\n"
                "No voice, or a file that cannot be read? See \"Troubleshooting\" in the README\n"
                "(/usr/share/doc/pirokan/README.md when installed as a package) and man pirokan.\n",
                PIROKAN_DATA_INSTALL_DIR);
            return 0;
        }
        if (arg == "--import-voice") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "pirokan: --import-voice needs a folder\n");
                return 2;
            }
            QCoreApplication app(argc, argv);
            QCoreApplication::setApplicationName(QStringLiteral("Pirokan"));
            return ImportVoiceCommand(QString::fromLocal8Bit(argv[i + 1]));
        }
        std::fprintf(stderr, "pirokan: unknown option %s (try --help)\n", argv[i]);
        return 2;
    }
    return -1;
}

} // namespace

int RunPirokan(int argc, char **argv)
{
    if (const int answered = answerCommandLine(argc, argv); answered >= 0)
        return answered;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pirokan"));

    // A second start ends here, leaving the first undisturbed.
    SingleInstance instance(SingleInstance::defaultLockPath());
    if (instance.state() == SingleInstance::State::AlreadyRunning) {
        qCInfo(lcApp) << "already running; this start ends";
        return 0;
    }
    if (instance.state() == SingleInstance::State::Unlocked)
        qCWarning(lcApp) << "starting without the single-instance lock:" << instance.problem();

    QtSettingsStore settings;
    QtSettingsStore startSettings(QString(), QStringLiteral("Start"));
    QtSettingsStore accessSettings(QString(), QStringLiteral("Access"));
    QtSettingsStore callSettings(QString(), QStringLiteral("Call"));
    // The call's chime has an output of its own: heard over the voice, and when the voice is silent.
    std::unique_ptr<AudioOutput> chime = createSystemAudioOutput(nullptr, SoundUse::Call);
    LoginStart login(startSettings, QCoreApplication::applicationFilePath());
    // The recordings outlive the voice that plays them.
    VoiceBank bank(VoiceBank::folderBeside(
        FolderEntryStorage::chooseFolder(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()))));
    QString bankProblem;
    if (!bank.load(&bankProblem))
        qCWarning(lcApp).noquote() << bankProblem;
    std::unique_ptr<SoundInput> input = createPulseInput();
    VoiceAgent agent;
    agent.setBank(&bank);
    const VoiceAdjust adjust = ReadVoiceAdjust(settings);
    agent.setVoiceAdjust(adjust.speed, adjust.pitch);
    SystemBeeper beeper;
    SystemClipboard clipboard;
    DesktopShell shell;
    SystemClock clock;
    ExecRunner modal;

    const QString appPath = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    FolderEntryStorage entries(FolderEntryStorage::chooseFolder(appPath));

    // Kanji candidates: the engine starts only when they are on and first needed.
    MozcEngine::Options mozc;
    mozc.profile = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/mozc");
    // On a thread of its own, restarted when it stops: the window never waits on it.
    BackgroundConversion conversion([mozc] { return std::make_unique<MozcEngine>(mozc); });
    LearningStore learnt(QDir(entries.folder()).filePath(LearningStore::FileName));
    if (QString problem; !learnt.load(&problem))
        qCWarning(lcApp) << "learnt words not read:" << problem;
    WordList vocabulary;
    if (QString problem;
        !vocabulary.load(Lifetime::DataFilePath(appPath, QStringLiteral("carewords.tsv")), &problem))
        qCWarning(lcApp) << "care vocabulary not read:" << problem;

    TalkWindow window;
    TalkProgram program(window,
                        {&settings, &agent, &beeper, &clipboard, &shell, &clock, &modal, &entries, &login,
                         &accessSettings, &conversion, &learnt, &vocabulary, &callSettings, chime.get(),
                         PrivateFile::inSettingsFolder(QStringLiteral("devices.json")), &bank, input.get()},
                        appPath);

    QString error;
    if (!program.start(&error)) {
        std::fprintf(stderr, "pirokan: %s\n", qPrintable(error));
        ShowOKDialog(program.shared, error, OkDialog::Notice, QStringLiteral("Pirokan"));
        return 1;
    }
    if (!bankProblem.isEmpty())
        ShowOKDialog(program.shared, bankProblem, OkDialog::Notice, QStringLiteral("Pirokan"));
    // Installed after the program's own filters, so that it sees each key first.
    KeyRepeatGuard repeatGuard;
    window.show();
    window.activateWindow();
    window.controls().txtTalk->setFocus();
    qCInfo(lcApp) << "started; entry files in" << entries.folder();
    return app.exec();
}
