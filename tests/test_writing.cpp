// Candidates while typing: the strip's runs, takes and their undoing, what
// learning changes, the learnt words' file, and readings of kanji sentences.
#include "board/candidatefinder.h"
#include "board/candidatestrip.h"
#include "board/kanaforms.h"
#include "board/suggestkey.h"
#include "modes/kanaindex.h"
#include "platform/conversion/kanareading.h"
#include "platform/conversion/learningstore.h"
#include "platform/conversion/wordlist.h"
#include "support/fakeconversion.h"

#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/stat.h>
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

    void oneKanaOffersItsPredictionsBeforeItsOwnKanji()
    {
        FakeConversion engine;
        engine.conversions[QStringLiteral("み")] = {{QStringLiteral("み"), {QStringLiteral("未")}}};
        engine.predictions[QStringLiteral("み")] = {{QStringLiteral("美咲"), QStringLiteral("みさき")},
                                                    {QStringLiteral("右"), QStringLiteral("みぎ")},
                                                    {QStringLiteral("耳"), QStringLiteral("みみ")}};
        engine.conversions[QStringLiteral("みみ")] = {{QStringLiteral("みみ"), {QStringLiteral("耳")}}};
        engine.predictions[QStringLiteral("みみ")] = {{QStringLiteral("耳鳴り"), QStringLiteral("みみなり")}};
        CandidateFinder finder(&engine, nullptr, nullptr);
        QCOMPARE(texts(finder.forRun(QStringLiteral("み"))).mid(0, 3), (QStringList{"美咲", "右", "未"}));
        // From two kana on, the run converted whole comes first again.
        QCOMPARE(texts(finder.forRun(QStringLiteral("みみ"))).value(0), QStringLiteral("耳"));
    }

    void twoKanaOfferWhatTheEnginePredictsFromTheKanaLikelyNext()
    {
        FakeConversion engine;
        engine.predictions[QStringLiteral("はじま")] = {
            {QStringLiteral("始まる"), QStringLiteral("はじまる")}};
        engine.predictions[QStringLiteral("はじまるか")] = {
            {QStringLiteral("始まるから"), QStringLiteral("はじまるから")}};
        CandidateFinder finder(&engine, nullptr, nullptr);
        // The kana likely after はじ come from what the user wrote: ま.
        finder.setWrittenBefore([] { return QStringList{QStringLiteral("はじまるから")}; });
        // Learnt before the press, so that learning does not use up the press's time.
        QVERIFY(!finder.nextKana(QStringLiteral("はじ"), QStringLiteral("はじ"), {}, 1).isEmpty());
        QVERIFY(texts(finder.forRun(QStringLiteral("はじ"))).contains(QStringLiteral("始まる")));
        // Not past three kana, where the engine predicts by itself.
        QVERIFY(!texts(finder.forRun(QStringLiteral("はじまる"))).contains(QStringLiteral("始まるから")));
        // A slow engine is not asked further than the time a press may take.
        engine.predictMs = 30;
        engine.predicted = 0;
        QVERIFY(!texts(finder.forRun(QStringLiteral("はじ"))).contains(QStringLiteral("始まる")));
        QCOMPARE(engine.predicted, 1);
        engine.predictMs = 0;
        // A stopped engine is not asked.
        engine.stopped = true;
        QVERIFY(!texts(finder.forRun(QStringLiteral("はじ"))).contains(QStringLiteral("始まる")));
    }

    void afterANounTheParticlesComeBeforeTheMarks()
    {
        WordList care;
        for (const char *p : {"を", "が", "に", "は", "て", "てください", "の"})
            care.add(QString::fromUtf8(p), QString::fromUtf8(p));
        CandidateFinder finder(nullptr, nullptr, &care);
        // A noun is followed by a particle far more often than by the sentence's end.
        QCOMPARE(texts(finder.after(QStringLiteral("窓"))),
                 (QStringList{"を", "が", "に", "は", "。", "、", "て", "の"}));
        // A word ending in kana may well end the sentence: the marks first.
        QCOMPARE(texts(finder.after(QStringLiteral("暑い"))).mid(0, 3), (QStringList{"。", "、", "を"}));
        // A particle is not followed by a mark.
        QVERIFY(!texts(finder.after(QStringLiteral("を"))).contains(QStringLiteral("。")));
        // With fewer particles than come first, the marks still come.
        WordList few;
        few.add(QStringLiteral("を"), QStringLiteral("を"));
        CandidateFinder small(nullptr, nullptr, &few);
        QCOMPARE(texts(small.after(QStringLiteral("窓"))), (QStringList{"を", "。", "、"}));
    }

    // Whatever the engine answers is used only as far as it makes sense: no overflow, no assertion.
    void theEnginesAnswersAreNotTrusted()
    {
        FakeConversion engine;
        const QString run = QStringLiteral("たいい");
        // Readings longer than the typed kana, not the run, empty, or without forms.
        engine.conversions[run] = {{QStringLiteral("たいいへんかん"), {QStringLiteral("体位")}},
                                   {QStringLiteral("あ"), {QStringLiteral("亜")}}};
        engine.predictions[run] = {{QString(), QString()}, {QStringLiteral("体位変換"), QStringLiteral("x")}};
        CandidateFinder finder(&engine, nullptr, nullptr);
        QCOMPARE(texts(finder.forRun(run)), QStringList{"体位変換"});
        for (const std::vector<Segment> &odd :
             std::vector<std::vector<Segment>>{{{QStringLiteral("た"), {}},
                                                {QString(), {QStringLiteral("空")}},
                                                {QStringLiteral("いい"), {}}},
                                               {{QStringLiteral("たい"), {QStringLiteral("体")}}},
                                               {{QStringLiteral("たい"), {QStringLiteral("体")}},
                                                {QStringLiteral("いい"), {QStringLiteral("良い")}}},
                                               {}}) {
            engine.conversions[run] = odd;
            const QStringList offered = texts(finder.forRun(run));
            QVERIFY(!offered.contains(QStringLiteral("体")) && !offered.contains(QStringLiteral("空")));
        }
        // Numerals beyond any number a sentence holds are left as written.
        const QString numerals = QStringLiteral("一二三四五六七八九〇一二三四五六七八九〇一二");
        engine.conversions[QStringLiteral("かず")] = {{QStringLiteral("かず"), {numerals}}};
        QVERIFY(texts(finder.forRun(QStringLiteral("かず"))).contains(numerals));
        QVERIFY(KanaForms::withDigits(numerals).isEmpty());
        QCOMPARE(KanaForms::withDigits(QStringLiteral("九九九九九九九九九九九九九九九九九九九九十一")),
                 QString());
        QCOMPARE(KanaForms::withDigits(QStringLiteral("三十七度、一二三")), QStringLiteral("37度、123"));
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

    // Any word comes back as it was saved; numbers a damaged file gives stay within bounds.
    void theLearntFileKeepsEveryWordAndBoundsItsNumbers()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(LearningStore::FileName);
        const QStringList words = {QStringLiteral("%1%2%9"), QStringLiteral("a\tb"),
                                   QStringLiteral("二行\nめ\r"), QStringLiteral("\\t\\"),
                                   QStringLiteral("100%")};
        {
            LearningStore store(path);
            for (const QString &w : words) {
                store.noteTaken(QStringLiteral("よみ"), w);
                store.noteFollows(w, QStringLiteral("つぎ"), QStringLiteral("次%1"));
            }
            QVERIFY(store.save());
        }
        LearningStore back(path);
        QVERIFY(back.load());
        const QStringList read = back.wordsFor(QStringLiteral("よみ"));
        QCOMPARE(QSet<QString>(read.begin(), read.end()), QSet<QString>(words.begin(), words.end()));
        for (const QString &w : words)
            QCOMPARE(texts(back.following(w, 3)), QStringList{"次%1"});

        // Counts and stamps at their type's end (or below zero) are read within bounds and stay there.
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("W\tたん\t痰\t2147483647\t-5\t9223372036854775807\n"
                "F\t痰\tが\tが\t2147483647\t9223372036854775807\n");
        f.close();
        QVERIFY(back.load());
        back.noteTaken(QStringLiteral("たん"), QStringLiteral("痰"));
        back.noteFollows(QStringLiteral("痰"), QStringLiteral("が"), QStringLiteral("が"));
        back.noteSeen(QStringLiteral("はい"), QStringLiteral("はい"));
        QVERIFY(back.save());
        QVERIFY(f.open(QIODevice::ReadOnly));
        for (const QByteArray &line : f.readAll().split('\n')) {
            const QStringList c = LearningStore::decodeFields(QString::fromUtf8(line));
            if (c.value(0) == u"W" && c.value(2) == u"痰")
                QCOMPARE(c.mid(3), (QStringList{QString::number(LearningStore::MaxCount), "0",
                                                QString::number(LearningStore::MaxStamp)}));
            if (c.value(0) == u"F")
                QCOMPARE(c.mid(4), (QStringList{QString::number(LearningStore::MaxCount),
                                                QString::number(LearningStore::MaxStamp)}));
        }
        QCOMPARE(back.wordsFor(QStringLiteral("たん")), QStringList{"痰"});
    }

    // A FIFO or a folder in the learnt words' place is neither waited on nor written over, and
    // the user hears of it once; what a killed save left is gone at the next start.
    void aLearntFileThatIsNoFileIsToldOnce()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(LearningStore::FileName);
        FakeConversion engine;
        for (const bool fifo : {true, false}) {
            QFile::remove(path);
            QDir(path).removeRecursively();
            QVERIFY(fifo ? mkfifo(QFile::encodeName(path).constData(), 0600) == 0 : QDir().mkdir(path));
            LearningStore store(path);
            QString why;
            QVERIFY(!store.load(&why)); // a FIFO would have waited here for a writer
            QVERIFY(why.contains(QStringLiteral("普通のファイルではない")));
            CandidateFinder finder(&engine, &store, nullptr);
            finder.learnSentence(QStringLiteral("はい"));
            const auto told = finder.newProblem();
            QVERIFY(told && told->contains(QStringLiteral("保存できません")) && told->contains(path));
            finder.learnSentence(QStringLiteral("いいえ"));
            QVERIFY(!finder.newProblem());
            QVERIFY(fifo ? !QFileInfo(path).isFile() : QFileInfo(path).isDir());
        }
        QDir(path).removeRecursively();
        for (const char *name : {"learnt-words.tsv.AbCdEf", "learnt-words.tsv.keep",
                                 "learnt-words.tsv.x1Y2z3", "Talk.txt.AbCdEf"}) {
            QFile t(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(t.open(QIODevice::WriteOnly));
        }
        LearningStore store(path);
        QVERIFY(store.load());
        // Qt names its temporaries with six letters; a name with digits is someone's copy.
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("learnt-words.tsv.AbCdEf"))));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("learnt-words.tsv.keep"))));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("learnt-words.tsv.x1Y2z3"))));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("Talk.txt.AbCdEf"))));
    }

    void kanjiSentencesAreFoundAndHeadedByTheirReading()
    {
        if (!KanaReading::available())
            QSKIP("MeCab with naist-jdic is not installed (scripts/deps.sh installs it)");
        const QString sentence = QStringLiteral("看護師さんを呼んでください。");
        const QString reading = KanaReading::of(sentence);
        QCOMPARE(reading, QStringLiteral("かんごしさんをよんでください。"));
        // Word by word, as the kana likely next learn where words begin.
        QCOMPARE(KanaReading::ofWords(QStringLiteral("朝の薬"), u'|'), QStringLiteral("あさ|の|くすり"));
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
