#include "access/callcontroller.h"
#include "platform/commandhook.h"
#include "platform/processtable.h"
#include "platform/settingsstore.h"
#include "platform/speech/chime.h"
#include "shared/callsettings.h"
#include "support/captureaudio.h"
#include "support/fakes.h"
#include "support/recordinghook.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <csignal>

namespace {

int peak(const Clip &c, double from = 0, double to = 1e9)
{
    int p = 0;
    for (size_t i = size_t(from * c.sampleRate); i < std::min(c.samples.size(), size_t(to * c.sampleRate));
         ++i)
        p = std::max(p, std::abs(int(c.samples[i])));
    return p;
}

// A controller on a clock the test moves, with its chime caught and its bell recorded.
struct Call
{
    CaptureAudio audio;
    RecordingHook *hook = new RecordingHook;
    qint64 now = 0;
    QStringList log;
    CallController c;

    explicit Call(bool withOutput = true)
    {
        c.setManualTicks(true);
        c.setClock([this] { return now; });
        c.setOutput(withOutput ? &audio : nullptr);
        c.setHook(std::unique_ptr<CommandHook>(hook));
        c.setStopSpeech([this] { log << QStringLiteral("speech stopped, %1 chimes").arg(audio.count()); });
    }
    void after(qint64 ms)
    {
        now += ms;
        c.tick();
    }
};

} // namespace

// The call for help: its chime, its repeats and end, the bell's command and the call's settings.
class TestCall : public QObject
{
    Q_OBJECT

private slots:
    void chimeIsLoudTwoToneAndOverBeforeItRepeats()
    {
        const Clip full = ChimeClip();
        QVERIFY(peak(full) > 30000);
        QVERIFY(full.seconds() < CallController::RepeatMs / 1000.0);
        QVERIFY(peak(full, 0, 0.005) > 5000);                    // heard from its first milliseconds
        QVERIFY(peak(full, 0.43, 0.5) > peak(full, 0.34, 0.41)); // the second tone strikes
        QVERIFY(peak(full, full.seconds() - 0.002) < 200);       // and it ends without a click
        const int half = peak(ChimeClip(0.5));
        QVERIFY(std::abs(half - peak(full) / 2) < 100);
    }

    void callInterruptsSpeechRepeatsAndEndsWhenAnswered()
    {
        Call call;
        QSignalSpy started(&call.c, &CallController::started);
        QSignalSpy ended(&call.c, &CallController::ended);
        call.c.start(CallController::Way::SwitchHold);
        QCOMPARE(call.log, QStringList{"speech stopped, 0 chimes"}); // before the chime, not under it
        QCOMPARE(call.audio.count(), size_t(1));
        QCOMPARE(started.size(), 1);
        QCOMPARE(call.hook->runs, QStringList{"start"});
        call.c.start(CallController::Way::Key); // already calling: nothing new
        QCOMPARE(started.size(), 1);

        call.after(2000);
        call.after(2000);
        QCOMPARE(call.audio.count(), size_t(3));
        QVERIFY(call.c.acknowledge());
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.at(0).at(0).value<CallController::End>(), CallController::End::Answered);
        QCOMPARE(call.hook->runs, (QStringList{"start", "stop"}));
        const int stops = call.audio.stops;
        QVERIFY(!call.c.acknowledge()); // an ordinary press again
        call.after(2000);
        QCOMPARE(call.audio.count(), size_t(3));
        QCOMPARE(call.audio.stops, stops);
    }

    void unansweredCallEndsAfterItsTime()
    {
        Call call;
        CallSettings s;
        s.durationS = 10;
        call.c.apply(s);
        QSignalSpy ended(&call.c, &CallController::ended);
        call.c.start(CallController::Way::Key);
        for (int i = 0; i < 6; ++i)
            call.after(2000);
        QCOMPARE(call.audio.count(), size_t(5)); // at 0, 2, 4, 6 and 8 s
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.at(0).at(0).value<CallController::End>(), CallController::End::TimedOut);
        QVERIFY(!call.c.isCalling());

        s.enabled = false;
        call.c.apply(s);
        call.c.start(CallController::Way::Key);
        QVERIFY(!call.c.isCalling());
    }

    void eachCallTellsOfOneProblemAtMost()
    {
        Call silent(false);
        QSignalSpy problems(&silent.c, &CallController::problem);
        QSignalSpy started(&silent.c, &CallController::started);
        silent.c.start(CallController::Way::Dwell);
        QCOMPARE(started.size(), 1); // the window shows the call all the same
        silent.after(2000);          // a chime lost again is not told again
        QCOMPARE(problems.size(), 1);
        QCOMPARE(problems.at(0).at(0).toString(), CallController::noSoundMessage());
        // The bell's failure joins it on the cover.
        silent.hook->fail(CommandHook::Failure::Missing);
        QCOMPARE(problems.size(), 2);
        QVERIFY(problems.at(1).at(0).toString().startsWith(CallController::noSoundMessage() + u'\n'));
        QVERIFY(problems.at(1).at(0).toString().contains(QStringLiteral("見つかりません")));

        Call call;
        QSignalSpy told(&call.c, &CallController::problem);
        call.c.start(CallController::Way::Key);
        call.hook->fail(CommandHook::Failure::ExitCode);
        call.c.acknowledge();
        call.hook->fail(CommandHook::Failure::ExitCode); // its "stop" failed too
        QCOMPARE(told.size(), 1);
        QVERIFY(told.at(0).at(0).toString().contains(QStringLiteral("bell start")));
        QCOMPARE(call.audio.count(), size_t(1)); // the chime sounded anyway
        call.c.start(CallController::Way::Key);
        call.hook->fail(CommandHook::Failure::Missing);
        QCOMPARE(told.size(), 2); // a new call, a new message

        Call unheard; // an output that is there, on a sound server that plays nothing
        QSignalSpy lost(&unheard.c, &CallController::problem);
        unheard.c.start(CallController::Way::Key);
        unheard.audio.health(false);
        QTRY_COMPARE(lost.size(), 1);
        QCOMPARE(lost.at(0).at(0).toString(), CallController::noSoundMessage());
        // The sound server back, the chime heard: the cover stops saying it; lost again, says it again.
        unheard.audio.health(false);
        unheard.audio.health(true);
        QTRY_COMPARE(lost.size(), 2);
        QCOMPARE(lost.at(1).at(0).toString(), QString());
        unheard.audio.health(true);
        unheard.audio.health(false);
        QTRY_COMPARE(lost.size(), 3);
        QCOMPARE(lost.at(2).at(0).toString(), CallController::noSoundMessage());
    }

    // A bell that never ends, or says too much, costs neither memory, processes nor the close.
    void aBellCommandIsBoundedInTimeOutputAndNumber()
    {
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("bell.sh"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        // "hang": leaves a child that never ends; "loud": 4 MB on stderr, then one last line.
        f.write(
            "#!/bin/sh\necho \"$1\" >> \"$0.log\"\n"
            "case \"$1\" in\n"
            "hang) sleep 1000 & echo $! > \"$0.child\"; wait;;\n"
            "loud) head -c 4000000 /dev/zero | tr '\\0' x >&2; echo >&2; echo 'relay jammed' >&2; exit 4;;\n"
            "esac\n");
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        const auto lines = [&script] {
            QFile log(script + QStringLiteral(".log"));
            return log.open(QIODevice::ReadOnly)
                       ? QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts)
                       : QStringList();
        };
        const auto alive = [&script] {
            QFile child(script + QStringLiteral(".child"));
            const int pid = child.open(QIODevice::ReadOnly) ? child.readAll().trimmed().toInt() : 0;
            return pid > 0 && ProcessTable::isRunning(pid);
        };
        QList<CommandHook::Failure> failures;
        auto hook = std::make_unique<ProcessCommandHook>(script, QStringList{}, 2500);
        QList<bool> nextRunning; // a notice about a failure may wait on the user: the next run does not
        hook->onFailure = [&failures, &nextRunning, &hook](const CommandHook::Failure &x) {
            failures << x;
            nextRunning << hook->busy();
        };

        hook->run(QStringLiteral("hang"));
        QTRY_VERIFY(alive());
        // While it hangs, the next runs wait, and only the latest of them is run.
        hook->run(QStringLiteral("start"));
        hook->run(QStringLiteral("loud"));
        QCOMPARE(lines(), QStringList{"hang"});
        QTRY_COMPARE(failures.size(), 2);
        QCOMPARE(failures[0].kind, CommandHook::Failure::TimedOut);
        QCOMPARE(failures[0].argument, QStringLiteral("hang"));
        QCOMPARE(nextRunning, (QList<bool>{true, false}));
        QVERIFY(!alive()); // its child ended with it
        QCOMPARE(failures[1].kind, CommandHook::Failure::ExitCode);
        QCOMPARE(failures[1].detail, QStringLiteral("relay jammed"));
        QVERIFY(hook->keptErrorBytes() <= ProcessCommandHook::KeptErrorBytes);
        QCOMPARE(lines(), (QStringList{"hang", "loud"}));
        QVERIFY(CallController::hookMessage(failures[0]).contains(QStringLiteral("終わらないので")));

        // Closing while it hangs ends it and its child at once, without waiting for its time.
        QFile::remove(script + QStringLiteral(".child"));
        hook->run(QStringLiteral("hang"));
        QTRY_VERIFY(alive());
        QFile child(script + QStringLiteral(".child"));
        QVERIFY(child.open(QIODevice::ReadOnly));
        const int pid = child.readAll().trimmed().toInt();
        hook.reset();
        QTRY_VERIFY(!ProcessTable::isRunning(pid));
        QVERIFY(failures.size() == 2); // nobody is told after the close
    }

    void bellCommandRunsWithoutAShellAndItsFailuresAreNamed()
    {
        QVERIFY(!CreateCommandHook(QStringLiteral("  ")));
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("bell.sh"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nlog=$1; shift\nprintf '%s|' \"$@\" >> \"$log\"\n"
                "[ \"$1\" = fail ] && { echo 'relay not found' >&2; exit 3; }\nexit 0\n");
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        const QString log = dir.filePath(QStringLiteral("log"));

        QList<CommandHook::Failure> failures;
        const auto hookFor = [&failures](const QString &line) {
            std::unique_ptr<CommandHook> h = CreateCommandHook(line);
            h->onFailure = [&failures](const CommandHook::Failure &x) { failures << x; };
            return h;
        };
        // What a shell would run stays a word.
        const QString trap = QStringLiteral("$(touch${IFS}%1)").arg(dir.filePath(QStringLiteral("x")));
        auto ok = hookFor(QStringLiteral("\"%1\" \"%2\" \"a b\" %3").arg(script, log, trap));
        ok->run(QStringLiteral("start"));
        const QByteArray expected = "a b|" + trap.toUtf8() + "|start|";
        QTRY_COMPARE(QFile::exists(log) ? QFile(log).size() : 0, qint64(expected.size()));
        QFile l(log);
        QVERIFY(l.open(QIODevice::ReadOnly));
        QCOMPARE(l.readAll(), expected);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("x"))));

        auto failing = hookFor(QStringLiteral("\"%1\" \"%2\" fail").arg(script, log));
        failing->run(QStringLiteral("stop"));
        auto missing = hookFor(dir.filePath(QStringLiteral("no-such-bell")));
        missing->run(QStringLiteral("start"));
        QTRY_COMPARE(failures.size(), 2);
        std::sort(failures.begin(), failures.end(), [](auto &a, auto &b) { return a.kind < b.kind; });
        QCOMPARE(failures[0].kind, CommandHook::Failure::Missing);
        QCOMPARE(failures[1].kind, CommandHook::Failure::ExitCode);
        QCOMPARE(failures[1].exitCode, 3);
        QCOMPARE(failures[1].detail, QStringLiteral("relay not found"));
        QVERIFY(CallController::hookMessage(failures[0]).contains(QStringLiteral("見つかりません")));
        QVERIFY(CallController::hookMessage(failures[1]).contains(QStringLiteral("relay not found")));
    }

    void settingsRoundTripAndTheCommandIsNeverWrittenBack()
    {
        MemorySettingsStore store;
        const CallSettings d = ReadCallSettings(store);
        QVERIFY(d.enabled);
        QCOMPARE(d.volumePercent, 100);
        QCOMPARE(d.durationS, 60);

        store.values = {{"Enabled", "0"}, {"Volume", "40"}, {"DurationS", "120"}, {"Command", " bell "}};
        CallSettings s = ReadCallSettings(store);
        QCOMPARE(s.command, QStringLiteral("bell"));
        QVERIFY(!s.enabled);
        QCOMPARE(s.volumePercent, 40);
        s.command = QStringLiteral("other");
        QVERIFY(WriteCallSettings(store, s, nullptr));
        QCOMPARE(store.values.value("Command"), QStringLiteral(" bell "));
        QCOMPARE(ReadCallSettings(store).durationS, 120);

        store.values = {{"Enabled", "2"}, {"Volume", "0"}, {"DurationS", "x"}};
        const CallSettings garbage = ReadCallSettings(store);
        QVERIFY(garbage.enabled);
        QCOMPARE(garbage.volumePercent, 100);
        QCOMPARE(garbage.durationS, 60);

        // A command line edited by hand with a comma in it is still read whole.
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("Talk.conf"));
        QFile conf(file);
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("[Call]\nCommand=relay 1,2\n");
        conf.close();
        QCOMPARE(ReadCallSettings(QtSettingsStore(file, QStringLiteral("Call"))).command,
                 QStringLiteral("relay 1, 2"));
    }
};

QTEST_GUILESS_MAIN(TestCall)
#include "test_call.moc"
