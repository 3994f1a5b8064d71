#include "recordings/openrecordings.h"

#include "entries/entryformat.h"
#include "platform/modalrunner.h"
#include "platform/services.h"
#include "platform/speech/audiooutput.h"
#include "platform/voicebank/phrasekey.h"
#include "platform/voicebank/voicebank.h"
#include "recordings/recordingsdialog.h"
#include "shared/sharedstate.h"

QStringList StoredSentences(const SharedState &shared)
{
    QStringList out;
    for (const QString &s : shared.SampleTexts.value_or(QStringList()))
        if (s.trimmed() != EntryFormat::DiaryRow && s.trimmed() != EntryFormat::MailRow &&
            s.trimmed() != EntryFormat::Placeholder)
            out << s;
    return out;
}

void OpenRecordings(SharedState &shared, const QString &textBeingWritten, QWidget *parent)
{
    if (!shared.sv.bank || !shared.sv.input)
        return;
    QStringList texts;
    if (!PhraseKey::ofPhrase(textBeingWritten).isEmpty())
        texts << textBeingWritten.trimmed();
    for (const QString &s : StoredSentences(shared))
        if (!PhraseKey::ofPhrase(s).isEmpty() && !texts.contains(s.trimmed()))
            texts << s.trimmed();
    shared.sv.bank->refresh();
    // A sound server that does not answer would hold the window's opening; 聞く tells of it instead.
    std::unique_ptr<AudioOutput> playback =
        createSystemAudioOutput(nullptr, SoundUse::Voice, FirstAnswer::DoNotWait);
    RecordingsDialog dialog(shared, *shared.sv.bank, *shared.sv.input, playback.get(), texts, parent);
    shared.sv.modal->run(dialog);
}
