// Candidates while typing: the strip's runs, takes and their undoing, what
// learning changes, the learnt words' file, and readings of kanji sentences.
#include "board/candidatefinder.h"
#include "board/candidatestrip.h"
#include "board/suggestkey.h"
#include "modes/kanaindex.h"
#include "platform/conversion/kanareading.h"
#include "platform/conversion/learningstore.h"
#include "platform/conversion/wordlist.h"
#include "support/fakeconversion.h"

#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QStringList texts(const std::vector<Candidate> &cs)
{
    QStringList out;
    for (const Candidate &c : cs)
        out << c.text;
    return out;
}

} // namespace

class TestWriting : public QObject
{
    Q_OBJECT

private slots:
    void takeReplacesTheRunAndBackspaceGivesTheKanaBack()
    {
        QTemporaryDir dir;
        FakeConversion engine;
        engine.conversions[QStringLiteral("たいい")] = {
            {QStringLiteral("たいい"), {QStringLiteral("退位"), QStringLiteral("体位")}}};
        engine.predictions[QStringLiteral("たいい")] = {
            {QStringLiteral("体位変換"), QStringLiteral("たいいへんかん")}};
        LearningStore learnt(dir.filePath(LearningStore::FileName));
        WordList care;
        care.add(QStringLiteral("たいい"), QStringLiteral("体位"));
        CandidateFinder finder(&engine, &learnt, &care);
        CandidateStrip strip(finder);

        // The run starts after the last character that is not hiragana.
        const QString text = QStringLiteral("A。たいい_");
        strip.afterEntry(text, 5);
        QCOMPARE(strip.run(), QStringLiteral("たいい"));
        QCOMPARE(strip.runStart(), 2);
        // The care word beats the engine's first form, and predictions follow.
        QCOMPARE(texts(strip.candidates()), (QStringList{"体位", "体位変換", "退位"}));

        const auto taken = strip.take(0, text, 5);
        QVERIFY(taken);
        QCOMPARE(taken->text, QStringLiteral("A。体位_"));
        QCOMPARE(taken->caret, 4);
        QCOMPARE(taken->spoken, QStringLiteral("体位"));

        const auto back = strip.undoTake(taken->text, taken->caret);
        QVERIFY(back);
        QCOMPARE(back->text, text);
        QCOMPARE(back->caret, 5);
        QCOMPARE(back->spoken, QStringLiteral("たいい"));
        QCOMPARE(strip.run(), QStringLiteral("たいい"));

        // After a take, typing on starts a new run at the taken word.
        const auto again = strip.take(1, text, 5);
        QVERIFY(again);
        QCOMPARE(again->text, QStringLiteral("A。体位変換_"));
        strip.afterEntry(QStringLiteral("A。体位変換を_"), 7);
        QCOMPARE(strip.run(), QStringLiteral("を"));
        QVERIFY(!strip.undoTake(QStringLiteral("A。体位変換を_"), 7));

        // Entering inside the text offers nothing.
        strip.afterEntry(QStringLiteral("たいい_"), 1);
        QVERIFY(strip.candidates().empty());
        QVERIFY(!strip.take(0, QStringLiteral("たいい_"), 1));
    }

    void whatWasTakenComesFirstAndIsKeptAcrossARestart()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(LearningStore::FileName);
        FakeConversion engine;
        engine.conversions[QStringLiteral("よんで")] = {
            {QStringLiteral("よんで"), {QStringLiteral("読んで"), QStringLiteral("呼んで")}}};
        {
            LearningStore learnt(path);
            CandidateFinder finder(&engine, &learnt, nullptr);
            CandidateStrip strip(finder);
            strip.afterEntry(QStringLiteral("よんで_"), 3);
            QCOMPARE(texts(strip.candidates()), (QStringList{"読んで", "呼んで"}));
            QVERIFY(strip.take(1, QStringLiteral("よんで_"), 3));
            finder.learnSentence(QStringLiteral("美咲に電話して"));
        }
        LearningStore learnt(path);
        QVERIFY(learnt.load());
        CandidateFinder finder(&engine, &learnt, nullptr);
        CandidateStrip strip(finder);
        strip.afterEntry(QStringLiteral("よんで_"), 3);
        QCOMPARE(texts(strip.candidates()).value(0), QStringLiteral("呼んで"));
        // A name from a sentence is predicted, and what came after it is offered next.
        if (KanaReading::available()) {
            strip.afterEntry(QStringLiteral("みさ_"), 2);
            QVERIFY(texts(strip.candidates()).contains(QStringLiteral("美咲に")));
            QCOMPARE(texts(finder.after(QStringLiteral("美咲に"))).value(0), QStringLiteral("電話して"));
        }
    }

    void theRunsFirstWordsCanBeTakenAndNumbersComeInDigits()
    {
        FakeConversion engine;
        engine.conversions[QStringLiteral("たいおんはさんじゅうななど")] = {
            {QStringLiteral("たいおんは"), {QStringLiteral("体温は")}},
            {QStringLiteral("さん"), {QStringLiteral("三")}},
            {QStringLiteral("じゅう"), {QStringLiteral("重")}},
            {QStringLiteral("なな"), {QStringLiteral("七")}},
            {QStringLiteral("ど"), {QStringLiteral("度")}}};
        engine.conversions[QStringLiteral("つまって")] = {
            {QStringLiteral("つまって"), {QStringLiteral("詰まって"), QStringLiteral("ﾂﾏｯﾃ")}}};
        WordList care;
        care.add(QStringLiteral("つま"), QStringLiteral("妻"));
        CandidateFinder finder(&engine, nullptr, &care);
        CandidateStrip strip(finder);

        // A known word never takes the place of a word's own kana ending; odd forms are left out.
        strip.afterEntry(QStringLiteral("つまって_"), 4);
        QCOMPARE(texts(strip.candidates()), QStringList{"詰まって"});

        const QString text = QStringLiteral("たいおんはさんじゅうななど_");
        strip.afterEntry(text, 13);
        const QStringList offered = texts(strip.candidates());
        QVERIFY(offered.contains(QStringLiteral("体温は37度")));
        const int head = int(offered.indexOf(QStringLiteral("体温は")));
        QVERIFY(head >= 0);
        // Taking the first words leaves the rest typed, as a run with candidates of its own.
        const auto taken = strip.take(head, text, 13);
        QVERIFY(taken);
        QCOMPARE(taken->text, QStringLiteral("体温はさんじゅうななど_"));
        QCOMPARE(taken->caret, 11);
        QCOMPARE(taken->spoken, QStringLiteral("体温は"));
        QCOMPARE(strip.run(), QStringLiteral("さんじゅうななど"));
        QCOMPARE(strip.runStart(), 3);
        const int calls = engine.calls;
        QVERIFY(strip.lookUpRest());
        QCOMPARE(engine.calls, calls + 1);
        const auto back = strip.undoTake(taken->text, taken->caret);
        QVERIFY(back);
        QCOMPARE(back->text, text);
    }

    void aStoppedEngineLeavesTheOwnWordsAndIsReportedOnce()
    {
        FakeConversion engine;
        engine.stopped = true;
        WordList care;
        care.add(QStringLiteral("きゅういん"), QStringLiteral("吸引"));
        CandidateFinder finder(&engine, nullptr, &care);
        CandidateStrip strip(finder);
        strip.afterEntry(QStringLiteral("きゅう_"), 3);
        QCOMPARE(texts(strip.candidates()), QStringList{"吸引"});
        QVERIFY(finder.newProblem().has_value());
        QVERIFY(!finder.newProblem().has_value());
    }

    void theLearntFileSurvivesAKillDuringItsSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(LearningStore::FileName);
        LearningStore first(path);
        first.noteTaken(QStringLiteral("たん"), QStringLiteral("痰"));
        QVERIFY(first.save());

        const pid_t child = fork();
        if (child == 0) {
            // Saves a large store again and again until it is killed.
            LearningStore big(path);
            for (int i = 0; i < 5000; ++i)
                big.noteSeen(QStringLiteral("よみ%1").arg(i), QStringLiteral("読み%1").arg(i));
            for (;;)
                big.save();
        }
        QTest::qWait(300);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        // Either the old file or a whole new one, never a part of one.
        LearningStore after(path);
        QVERIFY(after.load());
        const bool old = after.wordsFor(QStringLiteral("たん")) == QStringList{"痰"};
        const bool whole = after.wordsFor(QStringLiteral("よみ4999")) == QStringList{"読み4999"};
        QVERIFY(old != whole);

        // A damaged or deleted file is an empty store.
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("W\tbroken\n\xff\xfe");
        f.close();
        QVERIFY(after.load());
        QVERIFY(after.isEmpty());
        QFile::remove(path);
        QVERIFY(after.load());
        QVERIFY(after.isEmpty());
    }

    void kanjiSentencesAreFoundAndHeadedByTheirReading()
    {
        if (!KanaReading::available())
            QSKIP("MeCab with naist-jdic is not installed (scripts/deps.sh installs it)");
        const QString sentence = QStringLiteral("看護師さんを呼んでください。");
        const QString reading = KanaReading::of(sentence);
        QCOMPARE(reading, QStringLiteral("かんごしさんをよんでください。"));
        QVERIFY(SuggestKey::matchesTextOrReading(QStringLiteral("かん"), sentence, reading));
        QVERIFY(!SuggestKey::matches(QStringLiteral("かん"), sentence));

        const QStringList rows{"あした", "看護師さん", "さくら", "漢字"};
        const QStringList readings{"あした", KanaReading::of(rows[1]), "さくら", ""};
        QCOMPARE(KanaIndex::heads(rows, readings), (QStringList{"あ行", "か行", "さ行", ""}));
        QCOMPARE(KanaIndex::sortKey(rows[1], readings[1]), QStringLiteral("かんごしさん"));
        QCOMPARE(KanaIndex::sortKey(rows[0], rows[0]), rows[0]);
    }
};

QTEST_GUILESS_MAIN(TestWriting)
#include "test_writing.moc"
