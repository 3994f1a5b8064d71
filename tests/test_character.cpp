#include "platform/characterfile.h"
#include "platform/speech/speechengine.h"
#include "platform/speech/voiceagent.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

// The character file and the choice of voice it leads to.
class TestCharacter : public QObject
{
    Q_OBJECT

private slots:
    void unknownValuesFallBack()
    {
        const CharacterSheet d;
        const CharacterSheet s = parseCharacterSheet(QStringLiteral("# comment\n"
                                                                    "name = Genie\n"
                                                                    "figure.body = not a colour\n"
                                                                    "figure.face = #102030\n"
                                                                    "figure.size = 5000\n"
                                                                    "voice.engines = festival, espeak\n"
                                                                    "voice.speed = fast\n"
                                                                    "voice.pitch = 3\n"
                                                                    "no equals sign\n"));
        QCOMPARE(s.name, QStringLiteral("Genie"));
        QCOMPARE(s.body, d.body);
        QCOMPARE(s.face, QColor(0x10, 0x20, 0x30));
        QCOMPARE(s.size, d.size);
        QCOMPARE(s.engines, QStringList{"espeak"});
        QCOMPARE(s.speed, d.speed);
        QCOMPARE(s.pitch, 3.0);
        QCOMPARE(parseCharacterSheet(QStringLiteral("voice.engines = nothing")).engines, d.engines);
    }

    void unreadableFileIsNamed()
    {
        QString error;
        QVERIFY(!readCharacterFile(QStringLiteral("/nonexistent/genie.acs"), &error));
        QVERIFY(error.contains(QStringLiteral("「genie.acs」")));
        QVERIFY(error.contains(QStringLiteral("フォルダー：/nonexistent")));
    }

    void aCharacterThatCannotSpeakSaysSoOnceAndASilentOneDoesNot()
    {
        QTemporaryDir dir;
        const auto loaded = [&dir](const QByteArray &sheet) {
            QFile f(dir.filePath(QStringLiteral("genie.acs")));
            f.open(QIODevice::WriteOnly | QIODevice::Truncate);
            f.write(sheet);
            f.close();
            auto agent = std::make_unique<VoiceAgent>();
            QString error;
            if (!agent->load(QStringLiteral("Genie"), f.fileName(), &error))
                qFatal("not loaded");
            return agent;
        };
        int told = 0;
        auto mute = loaded("voice.engines = openjtalk\nvoice.file = /nonexistent.htsvoice\n");
        mute->character(QStringLiteral("Genie"))->setMuteHandler([&told] { ++told; });
        QTRY_COMPARE(told, 1);
        auto silent = loaded("voice.engines = silent\n");
        silent->character(QStringLiteral("Genie"))->setMuteHandler([&told] { ++told; });
        QTest::qWait(50);
        QCOMPARE(told, 1);
    }

    void notANumberAndEndlessFilesAreRefused()
    {
        const CharacterSheet d;
        for (const char *bad : {"nan", "NaN", "inf", "-inf", "1e999"}) {
            const CharacterSheet s =
                parseCharacterSheet(QStringLiteral("voice.speed = %1\nvoice.pitch = %1\n"
                                                   "voice.volume = %1\nfigure.size = %1\n")
                                        .arg(QLatin1String(bad)));
            QCOMPARE(s.speed, d.speed);
            QCOMPARE(s.pitch, d.pitch);
            QCOMPARE(s.volume, d.volume);
            QCOMPARE(s.size, d.size);
        }
        // A FIFO would keep start-up waiting for a writer for ever.
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("genie.acs"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QString error;
        QVERIFY(!readCharacterFile(fifo, &error));
        QVERIFY(!error.isEmpty());
    }

    void missingVoiceFallsBackToTheNextEngine()
    {
        CharacterSheet sheet;
        sheet.voiceFile = QStringLiteral("/nonexistent.htsvoice");
        QStringList problems;
        const auto engine = firstWorkingEngine(sheet, &problems);
        QVERIFY(engine);
        QVERIFY(engine->key().startsWith(QStringLiteral("espeak")));
        QCOMPARE(problems.size(), 1);
        QVERIFY(problems[0].contains(QStringLiteral("/nonexistent.htsvoice")));

        sheet.engines = {QStringLiteral("openjtalk"), QStringLiteral("silent"), QStringLiteral("espeak")};
        problems.clear();
        QVERIFY(!firstWorkingEngine(sheet, &problems)); // silent before espeak: silent
    }

    void agentLoadsAndAnswersEveryCallEvenWhenSilent()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("genie.acs")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("name = Genie\nvoice.engines = silent\n");
        f.close();
        VoiceAgent agent;
        QString error;
        QVERIFY(agent.load(QStringLiteral("Genie"), f.fileName(), &error));
        Character *c = agent.character(QStringLiteral("Genie"));
        QVERIFY(c);
        QVERIFY(!agent.character(QStringLiteral("Merlin")));
        c->setLanguageId(1041);
        c->show();
        QWidget *figure = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("Genie"))
                figure = w;
        QVERIFY(figure && figure->isVisible());
        QVERIFY(figure->testAttribute(Qt::WA_TransparentForMouseEvents) ||
                figure->windowFlags().testFlag(Qt::WindowTransparentForInput)); // presses pass through
        c->moveTo(855, 20);
        QCOMPARE(figure->pos(), QPoint(855, 20));
        c->fitHeight(90);
        QCOMPARE(figure->height(), 90);
        QCOMPARE(figure->width(), 90 * 3 / 4);
        c->play(QStringLiteral("greet"));
        c->speak(QStringLiteral("こんにちは")); // silent: nothing to say, nothing waits
        QVERIFY(!c->isSpeaking());
        c->stop();
        c->prepare({QStringLiteral("あ")});
        QVERIFY(!c->isSpeaking());
        QVERIFY(!agent.load(QStringLiteral("Genie"), dir.filePath(QStringLiteral("missing.acs")), &error));
    }
};

QTEST_MAIN(TestCharacter)
#include "test_character.moc"
