#include "recordings/recordingsdialog.h"

#include "platform/controls.h"
#include "platform/modalrunner.h"
#include "platform/services.h"
#include "platform/settingsstore.h"
#include "platform/speech/audiooutput.h"
#include "platform/twips.h"
#include "platform/voicebank/recorder.h"
#include "platform/voicebank/voicebank.h"
#include "platform/voicebank/voiceimport.h"
#include "recordings/folderchooser.h"
#include "recordings/kanasession.h"
#include "shared/callkey.h"
#include "shared/okdialog.h"
#include "shared/palette.h"
#include "shared/sharedstate.h"

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <utility>

namespace {

constexpr quint32 Back = Palette::PaleGreen;
constexpr int Width = 10500;
constexpr int Height = 6360;
constexpr int CallColumn = 1440;
constexpr int NextKanaMs = 700; // time to read the next prompt before the microphone listens
const QString SourceKey = QStringLiteral("RecordSource");
const QString SourceCaptionKey = QStringLiteral("RecordSourceCaption");

QLabel *label(QWidget *parent, const char *name, QRect twips, double points)
{
    auto *l = new QLabel(parent);
    styleDialogControl(l, name, twips, Back, points);
    l->setWordWrap(true);
    return l;
}

const QString NoSound = QStringLiteral("音を出せません（音声サーバーにつながりません）。");
const QString DroppedForCall =
    QStringLiteral("呼び出しのあいだの録音は捨てました。もう一度「録音」を押してください。");

} // namespace

RecordingsDialog::RecordingsDialog(SharedState &shared, VoiceBank &bank, SoundInput &input,
                                   AudioOutput *playback, QStringList texts, QWidget *parent)
    : QDialog(parent), m_shared(shared), m_bank(bank), m_input(input), m_playback(playback),
      m_recorder(std::make_unique<Recorder>(input)), m_texts(std::move(texts))
{
    setObjectName(QStringLiteral("frmRecord"));
    setWindowTitle(QStringLiteral("声の録音"));
    setAccessibleName(QStringLiteral("声の録音"));
    setBackground(this, Back);
    const bool call = bool(shared.callForHelp);
    Twips::sizeDialog(this, parent, Width + (call ? CallColumn : 0), Height);
    m_texts.removeAll(QString());
    chooseFolder = [this](QWidget *p, const QString &title) {
        FolderChooser chooser(m_shared, FolderPlaces(), title, p);
        m_shared.sv.modal->run(chooser);
        return chooser.chosen();
    };

    lblWhat = label(this, "lblWhat", {240, 120, 10020, 1200}, 21.75);
    auto button = [this](const char *name, const QString &caption, QRect twips,
                         quint32 back = Colors::White) {
        return makeButton(this, name, caption, twips, back, 15.75, true);
    };
    cmdPrev = button("cmdPrev", QStringLiteral("◀ 前"), {240, 1440, 1500, 900});
    cmdNext = button("cmdNext", QStringLiteral("次 ▶"), {1860, 1440, 1500, 900});
    prgLevel = new QProgressBar(this);
    styleDialogControl(prgLevel, "prgLevel", {3600, 1560, 4200, 600}, Back, 12);
    prgLevel->setRange(0, 100);
    prgLevel->setTextVisible(false);
    prgLevel->setAccessibleName(QStringLiteral("声の大きさ"));
    lblTime = label(this, "lblTime", {7920, 1440, 2340, 900}, 18);
    lblState = label(this, "lblState", {240, 2460, 10020, 900}, 15.75);

    const int row1 = 3480, row2 = 4920, w = 1560, gap = 1680;
    cmdRecord = button("cmdRecord", QStringLiteral("録音"), {240, row1, w, 1200}, Palette::PaleRed);
    cmdStop = button("cmdStop", QStringLiteral("止める"), {240 + gap, row1, w, 1200});
    cmdListen = button("cmdListen", QStringLiteral("聞く"), {240 + 2 * gap, row1, w, 1200});
    cmdKeep = button("cmdKeep", QStringLiteral("残す"), {240 + 3 * gap, row1, w, 1200}, Palette::PaleBlue);
    cmdAgain = button("cmdAgain", QStringLiteral("録り直す"), {240 + 4 * gap, row1, w, 1200});
    cmdDiscard = button("cmdDiscard", QStringLiteral("捨てる"), {240 + 5 * gap, row1, w, 1200});
    cmdKana = button("cmdKana", QStringLiteral("かなを録音"), {240, row2, w, 1200});
    cmdDelete = button("cmdDelete", QStringLiteral("録音を消す"), {240 + gap, row2, w, 1200});
    cmdImport = button("cmdImport", QStringLiteral("取り込み…"), {240 + 2 * gap, row2, w, 1200});
    cmdExport = button("cmdExport", QStringLiteral("書き出し…"), {240 + 3 * gap, row2, w, 1200});
    cmdSource = button("cmdSource", QStringLiteral("入力：既定"), {240 + 4 * gap, row2, w, 1200});
    cmdClose = button("cmdClose", QStringLiteral("閉じる"), {240 + 5 * gap, row2, w, 1200});
    if (call)
        MakeCallKey(this, {Width + CallColumn - 1260, 120, 1140, Height - 240}, shared.callForHelp);

    connect(cmdPrev, &QPushButton::clicked, this, [this] { step(-1); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { step(1); });
    connect(cmdRecord, &QPushButton::clicked, this, &RecordingsDialog::startRecording);
    connect(cmdAgain, &QPushButton::clicked, this, &RecordingsDialog::startRecording);
    connect(cmdStop, &QPushButton::clicked, m_recorder.get(), &Recorder::finish);
    connect(cmdListen, &QPushButton::clicked, this, &RecordingsDialog::listen);
    connect(cmdKeep, &QPushButton::clicked, this, [this] { keep(); });
    connect(cmdDiscard, &QPushButton::clicked, this, [this] {
        m_pending = Clip{};
        tell(QStringLiteral("捨てました。"));
    });
    connect(cmdKana, &QPushButton::clicked, this, &RecordingsDialog::toggleKana);
    connect(cmdDelete, &QPushButton::clicked, this, &RecordingsDialog::deleteRecording);
    connect(cmdImport, &QPushButton::clicked, this, &RecordingsDialog::importFolder);
    connect(cmdExport, &QPushButton::clicked, this, &RecordingsDialog::exportBank);
    connect(cmdSource, &QPushButton::clicked, this, &RecordingsDialog::nextSource);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    if (m_playback)
        // A take dropped unheard (no sound server, or one that plays nothing) is told here; the
        // health comes from the sound thread.
        m_playback->setHealthHandler([this](bool heard) {
            if (!heard)
                QMetaObject::invokeMethod(
                    this, [this] { tell(NoSound); }, Qt::QueuedConnection);
        });
    connect(m_recorder.get(), &Recorder::progress, this, [this](double level, double seconds) {
        prgLevel->setValue(int(level * 100));
        lblTime->setText(QStringLiteral("%1 秒").arg(seconds, 0, 'f', 1));
    });
    connect(m_recorder.get(), &Recorder::ended, this,
            [this](Recorder::End how) { recordingEnded(int(how)); });
    lblTime->setText(QStringLiteral("0.0 秒"));
    // A call's chime and the carer who answers it are not the user's voice: a take under way when a
    // call starts is dropped, and a kana session waits.
    connect(&m_shared.state, &TalkState::changed, this, [this] {
        if (m_shared.state.calling() && m_recorder->isRecording()) {
            m_recorder->cancel();
            tell(DroppedForCall);
        }
    });
    // The input chosen last time stays chosen: a carer sets the microphone once.
    if (const SettingsStore *store = m_shared.sv.settings) {
        m_sourceName = store->read(SourceKey, QString());
        m_sourceCaption = store->read(SourceCaptionKey, QString());
    }
    showSource();
    showTarget();
    tell(
        m_texts.isEmpty()
            ? QStringLiteral("録音する文がありません。文を書いてから開くか、「かなを録音」を押してください。")
            : QStringLiteral("「録音」を押して話してください。"));
}

RecordingsDialog::~RecordingsDialog()
{
    if (m_playback)
        m_playback->setHealthHandler({});
    m_recorder->cancel();
    // Closed while importing or exporting: m_aside ends the work after the file in hand, or the
    // window, the scan and the call would wait for the whole folder.
}

QString RecordingsDialog::currentText() const
{
    if (m_kana)
        return KanaSession::sounds().value(m_kanaAt);
    return m_texts.value(m_at);
}

void RecordingsDialog::showTarget()
{
    const QString text = currentText();
    const auto kind = m_kana ? BankEntry::Kind::Kana : BankEntry::Kind::Phrase;
    const bool has = !text.isEmpty() && m_bank.has(text, kind);
    if (m_kana)
        lblWhat->setText(QStringLiteral("%1（%2 / %3）%4")
                             .arg(KanaSession::promptFor(text))
                             .arg(m_kanaAt + 1)
                             .arg(KanaSession::sounds().size())
                             .arg(has ? QStringLiteral("　録音あり") : QString()));
    else
        lblWhat->setText(
            text.isEmpty()
                ? QString()
                : QStringLiteral("「%1」%2").arg(text, has ? QStringLiteral("　録音あり") : QString()));
    lblWhat->setAccessibleName(lblWhat->text());
    updateButtons();
}

void RecordingsDialog::updateButtons()
{
    const bool recording = m_recorder->isRecording();
    const bool busy = recording || m_aside.busy();
    const bool pending = hasPending();
    const QString text = currentText();
    const auto kind = m_kana ? BankEntry::Kind::Kana : BankEntry::Kind::Phrase;
    cmdRecord->setEnabled(!busy && !text.isEmpty());
    cmdStop->setEnabled(recording);
    cmdListen->setEnabled(!busy && (pending || m_bank.has(text, kind)));
    cmdKeep->setEnabled(!busy && pending);
    cmdAgain->setEnabled(!busy && pending);
    cmdDiscard->setEnabled(!busy && pending);
    cmdPrev->setEnabled(!busy);
    cmdNext->setEnabled(!busy);
    cmdDelete->setEnabled(!busy && !pending && m_bank.has(text, kind));
    cmdKana->setText(m_kana ? QStringLiteral("文を録音") : QStringLiteral("かなを録音"));
    cmdKana->setEnabled(!busy);
    cmdImport->setEnabled(!busy);
    cmdExport->setEnabled(!busy && m_bank.size() > 0);
    cmdSource->setEnabled(!busy);
}

void RecordingsDialog::tell(const QString &state)
{
    lblState->setText(state);
    lblState->setAccessibleName(state);
    updateButtons();
}

void RecordingsDialog::runQuickAside(AsideWork::Work work, const QString &meanwhile)
{
    m_quickWork = true;
    m_aside.run([this, work = std::move(work)](const std::atomic_bool &stop) -> std::function<void()> {
        std::function<void()> then = work(stop);
        return [this, then = std::move(then)] {
            m_quickWork = false;
            then();
            if (const std::optional<int> result = std::exchange(m_closeWhenDone, std::nullopt))
                done(*result);
        };
    });
    tell(meanwhile);
}

void RecordingsDialog::startRecording()
{
    if (currentText().isEmpty() || m_aside.busy())
        return;
    m_pending = Clip{};
    if (m_playback)
        m_playback->stop();
    // A sound server that does not answer holds this for seconds.
    runQuickAside(
        [this, source = m_sourceName, samples = m_recorder->prepare()](const std::atomic_bool &) {
            QString why;
            const bool ok = m_input.start(source, samples, &why);
            return std::function<void()>([this, ok, why] { inputOpened(ok, why); });
        },
        QStringLiteral("マイクを用意しています…"));
}

void RecordingsDialog::inputOpened(bool ok, const QString &why)
{
    if (!ok) {
        tell(why);
        return;
    }
    if (m_closeWhenDone || m_shared.state.calling()) {
        m_input.stop();
        if (!m_closeWhenDone)
            tell(DroppedForCall);
        return;
    }
    m_recorder->begin();
    tell(m_kana ? QStringLiteral("録音中：言い終わると次へ進みます。")
                : QStringLiteral("録音中：話し終わると止まります（「止める」でも止まります）。"));
}

void RecordingsDialog::recordingEnded(int how)
{
    prgLevel->setValue(0);
    const auto end = Recorder::End(how);
    if (end == Recorder::End::Cancelled)
        return updateButtons();
    if (end == Recorder::End::NothingHeard) {
        tell(QStringLiteral("マイクが 5 秒間なにも聞こえませんでした。マイクのつなぎ方と音量を確かめて、"
                            "もう一度「録音」を押してください。"));
        return;
    }
    if (end == Recorder::End::NoSound) {
        tell(QStringLiteral(
            "マイクから音が届きません。マイクがつながっているか、ほかのプログラムが使っていないかを"
            "確かめて、もう一度「録音」を押してください。"));
        return;
    }
    if (m_recorder->recorded().isEmpty()) {
        tell(QStringLiteral("声が聞こえませんでした。もう一度「録音」を押してください。"));
        return;
    }
    m_pending = m_recorder->recorded();
    const bool had = m_bank.has(currentText(), m_kana ? BankEntry::Kind::Kana : BankEntry::Kind::Phrase);
    // A guided kana session keeps each new sound and moves on by itself; one already recorded is
    // replaced only when the user keeps the new take.
    if (m_kana && end == Recorder::End::BySilence && !had) {
        keep([this] {
            if (m_kanaAt + 1 < KanaSession::sounds().size()) {
                step(1);
                QTimer::singleShot(NextKanaMs, this, [this] {
                    if (m_kana && !m_recorder->isRecording() && !hasPending() && !m_shared.state.calling())
                        startRecording();
                });
            } else {
                tell(QStringLiteral("かなをすべて録音しました。"));
            }
        });
        return;
    }
    tell((had ? QStringLiteral(
                    "録音しました（%1 秒）。前の録音もまだあります。「聞く」で確かめて、入れ替えるなら"
                    "「残す」を押してください。")
              : QStringLiteral("録音しました（%1 秒）。「聞く」で確かめて「残す」を押してください。"))
             .arg(m_pending.seconds(), 0, 'f', 1));
}

bool RecordingsDialog::mayLeaveTake()
{
    if (!hasPending())
        return true;
    // A take not yet kept is the user's voice: it goes only when they say so.
    if (!ShowOKDialog(m_shared, QStringLiteral("いまの録音はまだ残していません。捨ててもいいですか？"),
                      OkDialog::OkCancel, QStringLiteral("声の録音")))
        return false;
    m_pending = Clip{};
    return true;
}

void RecordingsDialog::done(int result)
{
    // What runs aside (a take being kept, the microphone opening) is seen through first, and a failure
    // told; the window stays live meanwhile.
    if (m_aside.busy() && m_quickWork) {
        m_closeWhenDone = result;
        return;
    }
    if (mayLeaveTake())
        QDialog::done(result);
}

void RecordingsDialog::keep(const std::function<void()> &then)
{
    if (!hasPending() || m_aside.busy())
        return;
    const auto kind = m_kana ? BankEntry::Kind::Kana : BankEntry::Kind::Phrase;
    // Encoding and syncing the file, or waiting for another writer of the index, takes time.
    runQuickAside(
        [this, text = currentText(), kind, clip = m_pending, then](const std::atomic_bool &) {
            QString error;
            const bool ok = m_bank.keep(text, kind, clip, &error);
            return std::function<void()>([this, ok, error, then] { kept(ok, error, then); });
        },
        QStringLiteral("残しています…"));
}

void RecordingsDialog::kept(bool ok, const QString &error, const std::function<void()> &then)
{
    if (!ok) {
        tell(QStringLiteral("残せませんでした。前の録音はそのままです。\n") + error);
        return;
    }
    m_pending = Clip{};
    tell(QStringLiteral("残しました。"));
    showTarget();
    if (then && !m_closeWhenDone)
        then();
}

void RecordingsDialog::listen()
{
    if (!m_playback) {
        tell(NoSound);
        return;
    }
    const auto kind = m_kana ? BankEntry::Kind::Kana : BankEntry::Kind::Phrase;
    QString error;
    const std::optional<Clip> clip =
        hasPending() ? std::optional<Clip>(m_pending) : m_bank.clip(currentText(), kind, &error);
    if (!clip) {
        tell(error);
        return;
    }
    m_playback->stop();
    m_playback->play(*clip);
}

void RecordingsDialog::step(int by)
{
    if (!mayLeaveTake())
        return;
    if (m_kana) {
        const int n = int(KanaSession::sounds().size());
        m_kanaAt = (m_kanaAt + by + n) % n;
    } else if (!m_texts.isEmpty()) {
        m_at = (m_at + by + int(m_texts.size())) % int(m_texts.size());
    }
    showTarget();
    tell(QStringLiteral("「録音」を押して話してください。"));
}

void RecordingsDialog::toggleKana()
{
    if (!mayLeaveTake())
        return;
    m_kana = !m_kana;
    showTarget();
    if (m_kana)
        startRecording();
}

void RecordingsDialog::deleteRecording()
{
    const QString text = currentText();
    if (!ShowOKDialog(m_shared, QStringLiteral("「%1」の録音を消してもいいですか？").arg(text),
                      OkDialog::OkCancel, QStringLiteral("録音の削除")))
        return;
    if (m_aside.busy())
        return;
    runQuickAside(
        [this, text,
         kind = m_kana ? BankEntry::Kind::Kana : BankEntry::Kind::Phrase](const std::atomic_bool &) {
            QString error;
            const bool ok = m_bank.remove(text, kind, &error);
            return std::function<void()>([this, ok, error] {
                tell(ok ? QStringLiteral("消しました。") : error);
                showTarget();
            });
        },
        QStringLiteral("消しています…"));
}

void RecordingsDialog::importFolder()
{
    const QString folder = chooseFolder(this, QStringLiteral("取り込む録音のフォルダ"));
    if (folder.isEmpty() || m_aside.busy())
        return;
    m_aside.run([this, folder](const std::atomic_bool &stop) -> std::function<void()> {
        const QList<VoiceImport::Line> lines = VoiceImport::importFolder(folder, m_bank, &stop);
        return [this, lines] { importDone(lines); };
    });
    tell(QStringLiteral("取り込んでいます…"));
}

void RecordingsDialog::importDone(const QList<VoiceImport::Line> &lines)
{
    const int banked = int(std::count_if(lines.begin(), lines.end(), [](const auto &l) { return l.banked; }));
    tell(QStringLiteral("%1 件を取り込みました。").arg(banked));
    showTarget();
    ShowOKDialog(m_shared, VoiceImport::report(lines), OkDialog::Notice, QStringLiteral("録音の取り込み"));
}

void RecordingsDialog::exportBank()
{
    const QString folder = chooseFolder(this, QStringLiteral("録音の書き出し先"));
    if (folder.isEmpty() || m_aside.busy())
        return;
    const QString target = VoiceBank::exportTargetIn(folder);
    m_aside.run([this, target](const std::atomic_bool &stop) -> std::function<void()> {
        QString error;
        const bool ok = m_bank.exportTo(target, &error, &stop);
        return [this, ok, error, target] {
            const QString report =
                ok ? QStringLiteral("録音を「%1」に書き出しました。").arg(QDir::toNativeSeparators(target))
                   : error;
            tell(ok ? QStringLiteral("書き出しました。") : error);
            ShowOKDialog(m_shared, report, OkDialog::Notice, QStringLiteral("録音の書き出し"));
        };
    });
    tell(QStringLiteral("書き出しています…"));
}

void RecordingsDialog::nextSource()
{
    if (m_aside.busy())
        return;
    // A sound server that does not answer holds the listing for seconds.
    runQuickAside(
        [this](const std::atomic_bool &) {
            const QList<SoundInput::Source> sources = m_input.sources();
            return std::function<void()>([this, sources] { sourcesListed(sources); });
        },
        QStringLiteral("入力を探しています…"));
}

void RecordingsDialog::sourcesListed(const QList<SoundInput::Source> &sources)
{
    qsizetype at = -1;
    for (qsizetype i = 0; i < sources.size() && !m_sourceName.isEmpty(); ++i)
        if (sources[i].name == m_sourceName)
            at = i;
    // After the last input, and from one that is gone, comes the server's default.
    const bool next = at + 1 < sources.size() && !(at < 0 && !m_sourceName.isEmpty());
    m_sourceName = next ? sources[at + 1].name : QString();
    m_sourceCaption = next ? sources[at + 1].description : QString();
    showSource();
    tell(QStringLiteral("「%1」から録音します。").arg(sourceShown()));
    if (SettingsStore *store = m_shared.sv.settings) {
        QString error;
        if (!store->write({{SourceKey, m_sourceName}, {SourceCaptionKey, m_sourceCaption}}, &error))
            tell(QStringLiteral("この入力はいまだけ使います。次に開いたときのために覚えておけません：%1")
                     .arg(error));
    }
}

QString RecordingsDialog::sourceShown() const
{
    return m_sourceName.isEmpty() ? QStringLiteral("既定")
                                  : (m_sourceCaption.isEmpty() ? m_sourceName : m_sourceCaption);
}

void RecordingsDialog::showSource()
{
    cmdSource->setText(QStringLiteral("入力：%1").arg(sourceShown()));
    cmdSource->setAccessibleName(cmdSource->text());
}
