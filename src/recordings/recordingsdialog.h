#pragma once

#include "platform/speech/clip.h"
#include "platform/voicebank/soundinput.h"
#include "platform/voicebank/voiceimport.h"
#include "recordings/asidework.h"

#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class AudioOutput;
class ColorButton;
class QLabel;
class QProgressBar;
class Recorder;
class VoiceBank;
struct SharedState;

// The recordings: record the text being written, a stored sentence or the
// kana one by one; listen, keep, record again or discard; delete, import and
// export. Every control is a large button, so each way of pressing reaches it.
class RecordingsDialog final : public QDialog
{
    Q_OBJECT
public:
    // texts: what may be recorded, the text being written first.
    RecordingsDialog(SharedState &shared, VoiceBank &bank, SoundInput &input, AudioOutput *playback,
                     QStringList texts, QWidget *parent);
    ~RecordingsDialog() override;

    // Chooses a folder for import and export; a test answers it.
    std::function<QString(QWidget *parent, const QString &title)> chooseFolder;

    ColorButton *cmdPrev, *cmdNext, *cmdRecord, *cmdStop, *cmdListen, *cmdKeep, *cmdAgain, *cmdDiscard;
    ColorButton *cmdKana, *cmdDelete, *cmdImport, *cmdExport, *cmdSource, *cmdClose;
    QLabel *lblWhat, *lblState, *lblTime;
    QProgressBar *prgLevel;

    QString currentText() const;
    bool hasPending() const { return !m_pending.isEmpty(); }
    // Opening the microphone, keeping or deleting a take, listing the inputs, importing or
    // exporting: done aside, the window's other keys waiting for it.
    bool isBusy() const { return m_aside.busy(); }
    Recorder &recorder() { return *m_recorder; }
    // Closing with a take not yet kept asks first, and stays when the user does not agree.
    void done(int result) override;

private:
    bool mayLeaveTake();
    void showTarget();
    void updateButtons();
    void tell(const QString &state);
    void startRecording();
    void inputOpened(bool ok, const QString &why);
    void recordingEnded(int how);
    // `then` follows a take kept.
    void keep(const std::function<void()> &then = {});
    void kept(bool ok, const QString &error, const std::function<void()> &then);
    // Work that takes a moment but may hang on a device or a disk (not an import or export, which a
    // close stops after the file in hand).
    void runQuickAside(AsideWork::Work work, const QString &meanwhile);
    void listen();
    void step(int by);
    void toggleKana();
    void deleteRecording();
    void importFolder();
    void importDone(const QList<VoiceImport::Line> &lines);
    void exportBank();
    void nextSource();
    void sourcesListed(const QList<SoundInput::Source> &sources);
    void showSource();
    QString sourceShown() const;

    SharedState &m_shared;
    VoiceBank &m_bank;
    SoundInput &m_input;
    AudioOutput *m_playback;
    std::unique_ptr<Recorder> m_recorder;
    QStringList m_texts;
    QString m_sourceName;    // empty: the server's default
    QString m_sourceCaption; // what the user sees of it
    int m_at = 0;
    bool m_kana = false;
    int m_kanaAt = 0;
    Clip m_pending;
    bool m_quickWork = false;           // what runs aside is seen through before the window closes
    std::optional<int> m_closeWhenDone; // closed meanwhile: closes once it is done
    AsideWork m_aside;                  // last: ended first, while what its work uses is still there
};
