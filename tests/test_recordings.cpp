#include "platform/controls.h"
#include "platform/voicebank/recorder.h"
#include "platform/voicebank/voicebank.h"
#include "recordings/folderchooser.h"
#include "recordings/kanasession.h"
#include "recordings/recordingsdialog.h"
#include "shared/okdialog.h"
#include "shared/optionsdialog.h"
#include "shared/sharedstate.h"
#include "shared/voiceadjust.h"
#include "support/captureaudio.h"
#include "support/fakeinput.h"
#include "support/fakes.h"

#include <QComboBox>
#include <QLabel>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <sndfile.h>

namespace {

// The dialog as the user meets it, on a fake microphone and a temporary bank.
struct Setup
{
    explicit Setup(const QStringList &texts = {QStringLiteral("お水を下さい"), QStringLiteral("ありがとう")})
        : shared(services(), &main), bank(dir.filePath("bank"))
    {
        dialog = std::make_unique<RecordingsDialog>(shared, bank, input, &audio, texts, &main);
    }
    Services services()
    {
        Services s;
        s.modal = &modal;
        s.settings = &settings;
        return s;
    }
    // Speaks for `seconds`, then is quiet long enough for the recording to end by itself.
    void say(double seconds)
    {
        input.feed(0.3, 0);
        input.feed(seconds, 5000);
        input.feed(1.3, 0);
        dialog->recorder().poll();
    }

    QWidget main;
    ScriptedRunner modal;
    MemorySettingsStore settings;
    SharedState shared;
    QTemporaryDir dir;
    VoiceBank bank;
    FakeInput input;
    CaptureAudio audio;
    std::unique_ptr<RecordingsDialog> dialog;
};

// What a press set going aside (opening the microphone, keeping, deleting, listing) is done.
bool settled(const RecordingsDialog &d)
{
    return QTest::qWaitFor([&d] { return !d.isBusy(); });
}

void pressOk(QDialog &d)
{
    auto *ok = static_cast<OkDialog &>(d).cmdOK[0];
    QTest::mouseClick(ok, Qt::LeftButton);
}

} // namespace

class TestRecordings : public QObject
{
    Q_OBJECT

private slots:
    void aPhraseIsRecordedHeardAndKeptOnlyWhenAsked()
    {
        Setup s;
        RecordingsDialog &d = *s.dialog;
        QVERIFY(d.lblWhat->text().contains(QStringLiteral("お水を下さい")));
        QVERIFY(!d.cmdKeep->isEnabled());
        QTest::mouseClick(d.cmdRecord, Qt::LeftButton);
        QVERIFY(settled(d));
        QVERIFY(d.cmdStop->isEnabled() && !d.cmdRecord->isEnabled());
        s.input.feed(1.0, 5000);
        QTest::mouseClick(d.cmdStop, Qt::LeftButton); // ended by a press
        QVERIFY(d.hasPending());
        QTest::mouseClick(d.cmdListen, Qt::LeftButton);
        QCOMPARE(s.audio.count(), size_t(1));
        // Dropped unheard by a sound server that does not answer: told, not silence.
        QVERIFY(s.audio.health);
        s.audio.health(false);
        QTRY_VERIFY(d.lblState->text().contains(QStringLiteral("音を出せません")));
        QVERIFY(!s.bank.has(QStringLiteral("お水を下さい"), BankEntry::Kind::Phrase)); // not before 残す
        QTest::mouseClick(d.cmdKeep, Qt::LeftButton);
        QVERIFY(settled(d));
        QVERIFY(s.bank.has(QStringLiteral("お水を下さい"), BankEntry::Kind::Phrase));
        const double kept = s.bank.clip(QStringLiteral("お水を下さい"), BankEntry::Kind::Phrase)->seconds();

        // A second take, ended by silence, then discarded: the kept one stays.
        QTest::mouseClick(d.cmdRecord, Qt::LeftButton);
        QVERIFY(settled(d));
        s.say(2.0);
        QVERIFY(d.hasPending());
        QTest::mouseClick(d.cmdDiscard, Qt::LeftButton);
        QCOMPARE(s.bank.clip(QStringLiteral("お水を下さい"), BankEntry::Kind::Phrase)->seconds(), kept);

        // The next text, chosen with 次.
        QTest::mouseClick(d.cmdNext, Qt::LeftButton);
        QCOMPARE(d.currentText(), QStringLiteral("ありがとう"));
    }

    void aSilentMicrophoneAndAMissingOneAreToldOnScreen()
    {
        Setup s;
        RecordingsDialog &d = *s.dialog;
        QTest::mouseClick(d.cmdRecord, Qt::LeftButton);
        QVERIFY(settled(d));
        s.input.feed(5.1, 0);
        d.recorder().poll();
        QVERIFY(d.lblState->text().contains(QStringLiteral("5 秒")));
        QVERIFY(d.cmdRecord->isEnabled());

        // A device gone quiet sends nothing at all: the recording ends by itself and says so.
        qint64 now = 0;
        d.recorder().setClock([&now] { return now; });
        QTest::mouseClick(d.cmdRecord, Qt::LeftButton);
        QVERIFY(settled(d));
        now = Recorder::NoSoundMs - 100;
        d.recorder().poll();
        s.input.feed(0.1, 0); // a hiss is sound: the clock starts again
        now += 1000;
        d.recorder().poll();
        now += Recorder::NoSoundMs - 100;
        d.recorder().poll();
        QVERIFY(d.recorder().isRecording());
        now += 100;
        d.recorder().poll();
        QVERIFY(!d.recorder().isRecording() && !s.input.running());
        QVERIFY(d.lblState->text().startsWith(QStringLiteral("マイクから音が届きません。")));
        QVERIFY(d.cmdRecord->isEnabled());

        s.input.available = false;
        QTest::mouseClick(d.cmdRecord, Qt::LeftButton);
        QVERIFY(settled(d));
        QVERIFY(d.lblState->text().contains(QStringLiteral("マイク")));
        QVERIFY(!d.recorder().isRecording());
    }

    // A take is the user's voice: the kana session never puts one over a sound already kept, and a
    // take not yet kept goes only when the user agrees (leaving it is asked, and cancelling stays).
    void aTakeIsNeverPutOverAKeptOneNorLetGoUnasked()
    {
        Setup s;
        RecordingsDialog &d = *s.dialog;
        const QStringList sounds = KanaSession::sounds();
        const auto kept = [&](int i) { return s.bank.clip(sounds[i], BankEntry::Kind::Kana)->seconds(); };
        QTest::mouseClick(d.cmdKana, Qt::LeftButton);
        QVERIFY(settled(d));
        s.say(0.4);
        QTRY_VERIFY(d.recorder().isRecording());
        QTest::mouseClick(d.cmdStop, Qt::LeftButton);
        QTest::mouseClick(d.cmdPrev, Qt::LeftButton);
        QCOMPARE(d.currentText(), sounds[0]);
        const double first = kept(0);
        QTest::mouseClick(d.cmdRecord, Qt::LeftButton);
        QVERIFY(settled(d));
        s.say(1.2);
        QVERIFY(d.hasPending());
        QCOMPARE(kept(0), first);
        QVERIFY(d.lblState->text().contains(QStringLiteral("前の録音もまだあります")));
        QTest::qWait(900);
        QVERIFY(!d.recorder().isRecording()); // the session waits for the user

        QSignalSpy finished(&d, &QDialog::finished);
        QTest::mouseClick(d.cmdNext, Qt::LeftButton); // asked, and cancelled
        QTest::mouseClick(d.cmdClose, Qt::LeftButton);
        QTest::mouseClick(d.cmdKana, Qt::LeftButton);
        QCOMPARE(s.modal.shown, (QStringList{"frmOK", "frmOK", "frmOK"}));
        QCOMPARE(d.currentText(), sounds[0]);
        QVERIFY(d.hasPending() && finished.isEmpty());
        QTest::mouseClick(d.cmdKeep, Qt::LeftButton);
        QVERIFY(settled(d));
        QVERIFY(kept(0) > first + 0.5);

        QTest::mouseClick(d.cmdRecord, Qt::LeftButton);
        QVERIFY(settled(d));
        s.say(0.4);
        s.modal.answers.push_back(pressOk);
        QTest::mouseClick(d.cmdNext, Qt::LeftButton);
        QCOMPARE(d.currentText(), sounds[1]);
        QVERIFY(!d.hasPending());
        QVERIFY(kept(0) > first + 0.5);
    }

    void aKanaSessionMovesOnByItselfAndTheEchoHasTheSounds()
    {
        Setup s;
        RecordingsDialog &d = *s.dialog;
        QTest::mouseClick(d.cmdKana, Qt::LeftButton);
        const QStringList sounds = KanaSession::sounds();
        QCOMPARE(sounds.size(), 46 + 20 + 5 + 10);
        for (int i = 0; i < 10; ++i) {
            QTRY_VERIFY(d.recorder().isRecording());
            QCOMPARE(d.currentText(), sounds[i]);
            s.say(0.4);
        }
        // Skip one, and the one after is asked for.
        QTRY_VERIFY(d.recorder().isRecording());
        QTest::mouseClick(d.cmdStop, Qt::LeftButton);
        QTest::mouseClick(d.cmdNext, Qt::LeftButton);
        QCOMPARE(d.currentText(), sounds[11]);
        for (int i = 0; i < 10; ++i)
            QVERIFY2(s.bank.has(sounds[i], BankEntry::Kind::Kana), qPrintable(sounds[i]));
        QVERIFY(!s.bank.has(sounds[10], BankEntry::Kind::Kana));
    }

    // A call's chime and the carer answering are not the user's voice: the take under way is dropped,
    // none is kept, and the kana session does not go on by itself under the call.
    void aCallDropsTheTakeAndHoldsTheKanaSession()
    {
        Setup s;
        RecordingsDialog &d = *s.dialog;
        QTest::mouseClick(d.cmdKana, Qt::LeftButton);
        QVERIFY(settled(d));
        QVERIFY(d.recorder().isRecording());
        s.input.feed(0.6, 5000);
        s.shared.state.setCalling(true);
        QVERIFY(!d.recorder().isRecording() && !s.input.running());
        QVERIFY(d.lblState->text().startsWith(QStringLiteral("呼び出しのあいだの録音は捨てました")));
        QTest::qWait(900);
        QVERIFY(!d.recorder().isRecording() && !d.hasPending());
        QCOMPARE(s.bank.size(), 0);
        // Opened while the call sounds: not started either.
        QTest::mouseClick(d.cmdRecord, Qt::LeftButton);
        QVERIFY(settled(d));
        QVERIFY(!d.recorder().isRecording() && !s.input.running());
        s.shared.state.setCalling(false);
        QTest::mouseClick(d.cmdRecord, Qt::LeftButton);
        QVERIFY(settled(d));
        QVERIFY(d.recorder().isRecording());
    }

    void aRecordingIsDeletedOnlyAfterConfirmation()
    {
        Setup s;
        RecordingsDialog &d = *s.dialog;
        QTest::mouseClick(d.cmdRecord, Qt::LeftButton);
        QVERIFY(settled(d));
        s.say(1.0);
        QTest::mouseClick(d.cmdKeep, Qt::LeftButton);
        QVERIFY(settled(d));
        QVERIFY(d.cmdDelete->isEnabled());
        QTest::mouseClick(d.cmdDelete, Qt::LeftButton); // the confirmation is cancelled
        QVERIFY(s.bank.has(QStringLiteral("お水を下さい"), BankEntry::Kind::Phrase));
        s.modal.answers.push_back(pressOk);
        QTest::mouseClick(d.cmdDelete, Qt::LeftButton);
        QVERIFY(settled(d));
        QVERIFY(!s.bank.has(QStringLiteral("お水を下さい"), BankEntry::Kind::Phrase));
        QCOMPARE(s.modal.shown, (QStringList{"frmOK", "frmOK"}));
    }

    // A sound server that does not answer, or another program writing the index, takes seconds:
    // meanwhile the window stays live and the call calls, its other keys wait, and a close waits
    // until the take is safe.
    void aHangingMicrophoneOrIndexLeavesTheWindowLive()
    {
        Setup s;
        int calls = 0;
        s.shared.callForHelp = [&] { ++calls; };
        RecordingsDialog d(s.shared, s.bank, s.input, &s.audio, {QStringLiteral("はい")}, &s.main);
        auto *call = d.findChild<QAbstractButton *>(QStringLiteral("cmdCall"));
        s.input.hold = true;
        QTest::mouseClick(d.cmdRecord, Qt::LeftButton);
        QTest::qWait(200);
        QVERIFY(d.isBusy());
        QCOMPARE(d.lblState->text(), QStringLiteral("マイクを用意しています…"));
        QVERIFY(!d.cmdRecord->isEnabled() && !d.cmdSource->isEnabled() && !d.cmdNext->isEnabled());
        call->click();
        QCOMPARE(calls, 1);
        s.input.hold = false;
        QVERIFY(settled(d));
        QVERIFY(d.recorder().isRecording());
        s.input.feed(1.0, 5000);
        QTest::mouseClick(d.cmdStop, Qt::LeftButton);
        QVERIFY(d.hasPending());

        QVERIFY(QDir().mkpath(s.bank.folder()));
        QLockFile other(QDir(s.bank.folder()).filePath(VoiceBank::indexName() + QStringLiteral(".lock")));
        QVERIFY(other.tryLock());
        QSignalSpy finished(&d, &QDialog::finished);
        QTest::mouseClick(d.cmdKeep, Qt::LeftButton);
        QTest::qWait(200);
        QVERIFY(d.isBusy());
        call->click();
        QCOMPARE(calls, 2);
        d.reject(); // not asked whether to drop a take being kept
        QVERIFY(finished.isEmpty() && s.modal.shown.isEmpty());
        other.unlock();
        QTRY_COMPARE(finished.size(), 1);
        QVERIFY(s.bank.has(QStringLiteral("はい"), BankEntry::Kind::Phrase));
        QVERIFY(s.modal.shown.isEmpty());
    }

    void anImportFromTheWindowReportsEveryFile()
    {
        Setup s;
        QTemporaryDir source;
        SF_INFO info{};
        info.samplerate = 16000;
        info.channels = 1;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE *f = sf_open(QFile::encodeName(source.filePath("はい.wav")).constData(), SFM_WRITE, &info);
        std::vector<qint16> tone(16000);
        for (size_t i = 0; i < tone.size(); ++i)
            tone[i] = qint16(6000 * std::sin(i * 0.1));
        sf_writef_short(f, tone.data(), sf_count_t(tone.size()));
        sf_close(f);
        QFile bad(source.filePath("いいえ.wav"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("text");
        bad.close();
        s.dialog->chooseFolder = [&](QWidget *, const QString &) { return source.path(); };
        QString report;
        s.modal.answers.push_back([&](QDialog &d) { report = static_cast<OkDialog &>(d).lblOK->text(); });
        QTest::mouseClick(s.dialog->cmdImport, Qt::LeftButton);
        QTRY_VERIFY(!report.isEmpty()); // read aside, told when done
        QVERIFY(report.contains(QStringLiteral("2 件のうち 1 件")));
        QVERIFY(report.contains(QStringLiteral("いいえ.wav")));
        QVERIFY(s.bank.has(QStringLiteral("はい"), BankEntry::Kind::Phrase));

        // An export is written aside too, and told when done.
        QTemporaryDir copy;
        s.dialog->chooseFolder = [&](QWidget *, const QString &) { return copy.path(); };
        report.clear();
        s.modal.answers.push_back([&](QDialog &d) { report = static_cast<OkDialog &>(d).lblOK->text(); });
        QTest::mouseClick(s.dialog->cmdExport, Qt::LeftButton);
        QTRY_VERIFY(!report.isEmpty());
        QVERIFY(report.startsWith(QStringLiteral("録音を「")));
        VoiceBank exported(copy.filePath(QStringLiteral("pirokan-voice-bank")));
        QVERIFY(exported.load(&report));
        QVERIFY(exported.has(QStringLiteral("はい"), BankEntry::Kind::Phrase));

        // Closed during a large import: it ends after the file in hand, and what it kept is in the index.
        QTemporaryDir large;
        for (int i = 0; i < 200; ++i)
            QFile::copy(source.filePath("はい.wav"), large.filePath(QStringLiteral("返事%1.wav").arg(i)));
        s.dialog->chooseFolder = [&](QWidget *, const QString &) { return large.path(); };
        QTest::mouseClick(s.dialog->cmdImport, Qt::LeftButton);
        s.dialog.reset();
        VoiceBank reread(s.bank.folder());
        QString error;
        QVERIFY(reread.load(&error));
        QCOMPARE(reread.size(), s.bank.size());
        QVERIFY(reread.size() < 1 + 200);
    }

    void theOptionsOfferThePitchAndSpeedWithAPreviewAndKeepThem()
    {
        MemorySettingsStore store;
        store.write({{QStringLiteral("VoicePitch"), QStringLiteral("2")},
                     {QStringLiteral("VoiceSpeed"), QStringLiteral("9")}},
                    nullptr);
        const VoiceAdjust read = ReadVoiceAdjust(store);
        QCOMPARE(read.pitch, std::optional<double>(2));
        QVERIFY(!read.speed); // out of range: the character file's speed stands

        QWidget main;
        OptionsDialog plain(store, &main);
        QVERIFY(
            !plain.findChild<QWidget *>(QStringLiteral("frmOwnVoice"))); // nothing added without recordings

        QList<std::pair<double, double>> previews;
        int opened = 0;
        OwnVoiceOptions own{[&](QWidget *) { ++opened; },
                            [&](double speed, double pitch) {
                                previews.append({speed, pitch});
                            },
                            1.0, 2.0};
        OptionsDialog dialog(store, &main, nullptr, {}, nullptr, own);
        QCOMPARE(dialog.cmbPitch->currentText(), QStringLiteral("+2"));
        QCOMPARE(dialog.cmbPitch->accessibleName(), QStringLiteral("声の高さ"));
        // Everything the dialog had stays where it was; the column is to its right.
        QVERIFY(dialog.cmdVoice->mapTo(&dialog, QPoint(0, 0)).x() >= plain.cmdOK[1]->geometry().right());
        dialog.cmbPitch->setCurrentIndex(0);
        dialog.cmbSpeed->setCurrentIndex(int(VoiceAdjust::speedChoices().indexOf(1.3)));
        QTest::mouseClick(dialog.cmdPreview, Qt::LeftButton);
        QCOMPARE(previews, (QList<std::pair<double, double>>{{1.3, -6}}));
        QTest::mouseClick(dialog.cmdVoice, Qt::LeftButton);
        QCOMPARE(opened, 1);
        QTest::mouseClick(dialog.cmdOK[1], Qt::LeftButton);
        const VoiceAdjust kept = ReadVoiceAdjust(store);
        QCOMPARE(kept.pitch, std::optional<double>(-6));
        QCOMPARE(kept.speed, std::optional<double>(1.3));
    }

    // The microphone a carer chose is the one used the next time, and one that
    // has gone is left for the server's default rather than failing for good.
    void theChosenInputIsKeptUntilItIsGone()
    {
        Setup s;
        s.input.offered << SoundInput::Source{QStringLiteral("usb"), QStringLiteral("USB マイク")};
        QCOMPARE(s.dialog->cmdSource->text(), QStringLiteral("入力：既定"));
        s.dialog->cmdSource->click();
        QVERIFY(settled(*s.dialog));
        s.dialog->cmdSource->click();
        QVERIFY(settled(*s.dialog));
        QCOMPARE(s.dialog->cmdSource->text(), QStringLiteral("入力：USB マイク"));
        QCOMPARE(s.dialog->cmdSource->accessibleName(), s.dialog->cmdSource->text());

        RecordingsDialog again(s.shared, s.bank, s.input, &s.audio, {QStringLiteral("はい")}, &s.main);
        QCOMPARE(again.cmdSource->text(), QStringLiteral("入力：USB マイク"));
        again.cmdRecord->click();
        QVERIFY(settled(again));
        QCOMPARE(s.input.startedWith, QStringLiteral("usb"));
        again.recorder().cancel();

        s.input.offered.removeLast();
        again.cmdSource->click();
        QVERIFY(settled(again));
        QCOMPARE(again.cmdSource->text(), QStringLiteral("入力：既定"));
        QCOMPARE(s.settings.values.value(QStringLiteral("RecordSource")), QString());

        s.settings.failWrites = true;
        again.cmdSource->click();
        QVERIFY(settled(again));
        QCOMPARE(again.cmdSource->text(), QStringLiteral("入力：テスト用の入力"));
        QVERIFY(again.lblState->text().contains(QStringLiteral("覚えておけません")));
    }

    // The folder for an import or an export is chosen with large keys alone, six folders at a time.
    void aFolderIsChosenByPressesAlone()
    {
        Setup s;
        s.shared.callForHelp = [] {};
        QTemporaryDir root;
        for (int i = 0; i < 8; ++i)
            QVERIFY(QDir(root.path()).mkdir(QStringLiteral("声%1").arg(i)));
        QVERIFY(QDir(root.path()).mkdir(QStringLiteral(".hidden")));
        FolderChooser d(s.shared, {{QStringLiteral("USB"), root.path()}}, QStringLiteral("取り込み"),
                        &s.main);
        const auto shown = [&d] {
            QStringList out;
            for (ColorButton *b : d.cmdItem)
                if (!b->isHidden())
                    out << b->text();
            return out;
        };
        QCOMPARE(shown(), QStringList{"USB"});
        QVERIFY(!d.cmdHere->isEnabled() && !d.cmdUp->isEnabled());
        QTest::mouseClick(d.cmdItem[0], Qt::LeftButton);
        QCOMPARE(shown(), (QStringList{"声0", "声1", "声2", "声3", "声4", "声5"}));
        QTest::mouseClick(d.cmdNext, Qt::LeftButton);
        QCOMPARE(shown(), (QStringList{"声6", "声7"}));
        QVERIFY(d.lblWhere->text().endsWith(QStringLiteral("（2 / 2）")));
        QTest::mouseClick(d.cmdItem[1], Qt::LeftButton); // 声7, empty
        QVERIFY(d.lblWhere->text().contains(QStringLiteral("ありません")));
        QTest::mouseClick(d.cmdUp, Qt::LeftButton);
        QTest::mouseClick(d.cmdUp, Qt::LeftButton); // from the place itself, back to the places
        QCOMPARE(shown(), QStringList{"USB"});
        for (QAbstractButton *b : d.findChildren<QAbstractButton *>())
            QVERIFY(!b->objectName().isEmpty() && !b->text().isEmpty());
        QVERIFY(d.findChild<QAbstractButton *>(QStringLiteral("cmdCall")));

        QTest::mouseClick(d.cmdItem[0], Qt::LeftButton);
        QTest::mouseClick(d.cmdItem[2], Qt::LeftButton);
        QTest::mouseClick(d.cmdHere, Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.chosen(), QDir(root.path()).filePath(QStringLiteral("声2")));

        // The desktop's chooser, which no scan or dwell reaches, is offered to touch and mouse alone.
        QVERIFY(!d.cmdOther->isHidden());
        s.shared.touchAndMouseOnly = false;
        FolderChooser scanned(s.shared, {}, QStringLiteral("取り込み"), &s.main);
        QVERIFY(scanned.cmdOther->isHidden());
    }

    void everyControlIsNamedWithItsCaptionAndTheCallIsThere()
    {
        Setup s;
        int calls = 0;
        s.shared.callForHelp = [&] { ++calls; };
        RecordingsDialog d(s.shared, s.bank, s.input, &s.audio, {QStringLiteral("はい")}, &s.main);
        for (QAbstractButton *b : d.findChildren<QAbstractButton *>()) {
            QVERIFY(!b->objectName().isEmpty());
            QVERIFY(!b->text().isEmpty());
        }
        auto *call = d.findChild<QAbstractButton *>(QStringLiteral("cmdCall"));
        QVERIFY(call);
        QTest::mouseClick(d.cmdRecord, Qt::LeftButton);
        QVERIFY(call->isEnabled()); // reachable while recording
        call->click();
        QCOMPARE(calls, 1);
    }
};

QTEST_MAIN(TestRecordings)
#include "test_recordings.moc"
