// Whole sentences the user wrote before, offered in the strip.
#include "board/candidatefinder.h"
#include "board/sentencecandidates.h"
#include "platform/conversion/learningstore.h"
#include "support/talkfixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Readings as a stub gives them: kanji words of the tests, the rest as it stands.
QString stubReading(const QString &text)
{
    QString r = text;
    r.replace(QStringLiteral("田中"), QStringLiteral("たなか"));
    r.replace(QStringLiteral("体位"), QStringLiteral("たいい"));
    r.replace(QStringLiteral("変"), QStringLiteral("か"));
    r.replace(QStringLiteral("窓"), QStringLiteral("まど"));
    r.replace(QStringLiteral("開"), QStringLiteral("あ"));
    return r;
}

QStringList texts(const std::vector<Candidate> &cs)
{
    QStringList out;
    for (const Candidate &c : cs)
        out << c.text;
    return out;
}

QList<ColorButton *> strip(TalkFixture &f)
{
    QList<ColorButton *> out;
    for (auto *b :
         f.window().findChild<QWidget *>("fraCand")->findChildren<ColorButton *>(QStringLiteral("cmdCand")))
        if (b->isVisible())
            out << b;
    return out;
}

} // namespace

class TestSentenceCandidates : public QObject
{
    Q_OBJECT
private slots:
    void rankedByHowOftenAndHowLately()
    {
        SentenceCandidates s(stubReading);
        const std::vector<SentenceCandidates::Source> sources = {
            {QStringLiteral("体位を変えてください"), 3, 10},   // often, long ago
            {QStringLiteral("田中さん、おはよう。"), 1, 2000}, // once, just now
            {QStringLiteral("たすけて"), 1, 0},                // stored, never written
            {QStringLiteral("窓を開けて"), 5, 2000},           // another kana
        };
        QCOMPARE(texts(s.forTyped(sources, 2000, {}, QStringLiteral("た"), 5)),
                 (QStringList{"田中さん、おはよう。", "体位を変えてください", "たすけて"}));
        // Often enough, an old sentence comes first again.
        std::vector<SentenceCandidates::Source> more = sources;
        more.push_back({QStringLiteral("体位を変えてください"), 6, 1500});
        QCOMPARE(s.forTyped(more, 2000, {}, QStringLiteral("たい"), 5).front().text,
                 QStringLiteral("体位を変えてください"));
        QCOMPARE(s.forTyped(more, 2000, {}, QStringLiteral("たい"), 5).front().reading,
                 QStringLiteral("たいいをかえてください"));
        QCOMPARE(s.forTyped(sources, 2000, {}, QStringLiteral("た"), 1).size(), size_t(1));
        QVERIFY(SentenceCandidates::score(1, 0) > SentenceCandidates::score(1, 600));
        QVERIFY(SentenceCandidates::score(3, 600) > SentenceCandidates::score(1, 0));
    }

    void thousandsOfSentencesNeverHoldAPressUp()
    {
        // Readings are the slow part: one press computes a bounded number, and keeps them.
        int readings = 0;
        SentenceCandidates s([&readings](const QString &text) {
            ++readings;
            return text;
        });
        std::vector<SentenceCandidates::Source> sources;
        for (int i = 0; i < 5000; ++i)
            sources.push_back({QStringLiteral("かきくけこ%1").arg(i, 4, 10, QLatin1Char('0')), 1, 0});
        sources.push_back({QStringLiteral("たすけて"), 1, 0});
        sources.push_back(
            {QStringLiteral("たいいをかえて"), 2, 1990}); // written often and lately: read first
        QCOMPARE(texts(s.forTyped(sources, 2000, {}, QStringLiteral("た"), 1)),
                 QStringList{"たいいをかえて"});
        QCOMPARE(readings, 1);
        // A sentence that ranks low is found once the readings before it are known.
        QStringList found;
        for (int press = 0; press < 40 && found.size() < 2; ++press) {
            const int was = readings;
            found = texts(s.forTyped(sources, 2000, {}, QStringLiteral("た"), 2));
            QVERIFY(readings - was <= SentenceCandidates::MaxReadingsAPress);
        }
        QCOMPARE(found, (QStringList{"たいいをかえて", "たすけて"}));
        QVERIFY(readings <= 5002);
        const int before = readings;
        s.forTyped(sources, 2000, {}, QStringLiteral("た"), 2);
        QCOMPARE(readings, before);
    }

    void goOnFromWhatTheSentenceHoldsAndNeverOfferOnlyTheRun()
    {
        SentenceCandidates s(stubReading);
        const std::vector<SentenceCandidates::Source> sources = {
            {QStringLiteral("田中さん、おはよう。"), 1, 1}, {QStringLiteral("おはよう"), 1, 1}};
        // 田中さん、 was written (taken); お typed after it: the rest of the sentence.
        const auto rest = s.forTyped(sources, 1, QStringLiteral("田中さん、"), QStringLiteral("お"), 5);
        QCOMPARE(texts(rest), QStringList{"おはよう。"});
        QCOMPARE(rest.front().reading, QStringLiteral("おはよう。"));
        QVERIFY(s.forTyped(sources, 1, QStringLiteral("佐藤さん、"), QStringLiteral("お"), 5).empty());
        QVERIFY(s.forTyped(sources, 1, {}, QStringLiteral("おはよう"), 5).empty());
        QVERIFY(s.forTyped(sources, 1, {}, QString(), 5).empty());

        QCOMPARE(SentenceCandidates::sentenceStart(QStringLiteral("おはよう。たな_"), 7), 5);
        QCOMPARE(SentenceCandidates::sentenceStart(QStringLiteral("たな_"), 2), 0);
    }

    void theStoreKeepsSentencesForTheUserAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(LearningStore::FileName);
        {
            LearningStore store(path);
            store.noteSentence(QStringLiteral("窓を開けて"));
            store.noteSentence(QStringLiteral(" 窓を開けて "));
            store.noteSentence(QStringLiteral("50%1の%2"));
            store.noteSentence(QStringLiteral("a\tb")); // cannot be kept whole in a line
            store.noteTaken(QStringLiteral("ごじゅっぱー"), QStringLiteral("50%3"));
            store.noteFollows(QStringLiteral("%1"), QStringLiteral("ぱー"), QStringLiteral("%2"));
            QVERIFY(store.save());
        }
        QCOMPARE(QFile::permissions(path) & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
                 QFileDevice::Permissions());
        LearningStore back(path);
        QVERIFY(back.load());
        auto sentences = back.sentences();
        std::sort(sentences.begin(), sentences.end(),
                  [](const auto &a, const auto &b) { return a.stamp < b.stamp; });
        QCOMPARE(sentences.size(), size_t(2));
        QCOMPARE(sentences[0].text, QStringLiteral("窓を開けて"));
        QCOMPARE(sentences[0].count, 2);
        QCOMPARE(sentences[1].text, QStringLiteral("50%1の%2"));
        QVERIFY(back.clock() >= sentences[1].stamp);
        // A word with a number sign reads back as it was.
        QCOMPARE(back.wordsFor(QStringLiteral("ごじゅっぱー")), QStringList{"50%3"});
        QCOMPARE(back.following(QStringLiteral("%1"), 1).front().text, QStringLiteral("%2"));
    }

    void theFinderPutsSentencesAfterTheBestWordsFromHistoryStoredAndDiary()
    {
        QTemporaryDir dir;
        LearningStore learnt(dir.filePath(LearningStore::FileName));
        CandidateFinder finder(nullptr, &learnt, nullptr);
        finder.learnSentence(QStringLiteral("たすけてください"));
        finder.setWrittenBefore([] {
            return QStringList{QStringLiteral("たべたい"), QStringLiteral("たすけて")};
        });
        const auto out = finder.withSentences({}, QStringLiteral("た"),
                                              {{QStringLiteral("田"), QStringLiteral("た")},
                                               {QStringLiteral("たすけて"), QStringLiteral("たすけて")},
                                               {QStringLiteral("多"), QStringLiteral("た")}});
        // The two best words, then the sentences (one the same as a word only once), then the rest.
        QStringList texts;
        for (const Candidate &c : out)
            texts << c.text;
        QCOMPARE(texts, (QStringList{"田", "たすけて", "たすけてください", "多"}));
    }

    void oneTakeWritesAStoredSentenceOrADiaryLine()
    {
        TalkFixture f({{"Kanji", "1"}, {"OPT1", "2"}, {"Samp", "0"}}, false);
        f.writeEntries("Talk.txt", {"窓を開けて"});
        f.writeEntries("day.txt", {"26.12.01 ままが来た"});
        f.conversion.conversions.insert("ま", {{"ま", {"間"}}});
        QVERIFY(f.start());
        f.window().show();
        f.typed("ま_");
        f.program().candidates.afterEntry();
        QTRY_VERIFY(!strip(f).isEmpty());
        QStringList shown;
        for (ColorButton *b : strip(f))
            shown << b->text();
        QVERIFY2(shown.contains(QStringLiteral("窓を開けて")) && shown.contains(QStringLiteral("ままが来た")),
                 qPrintable(shown.join(u' ')));
        for (ColorButton *b : strip(f))
            if (b->text() == QStringLiteral("窓を開けて"))
                TalkFixture::press(b);
        QCOMPARE(f.window().txtTalk->text(), QStringLiteral("窓を開けて_"));
    }
};

QTEST_MAIN(TestSentenceCandidates)
#include "test_sentencecandidates.moc"
