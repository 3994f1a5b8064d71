// The kana offered as likely next: what they are learnt from, how they are
// ranked, and the keys on the strip of the running window.
#include "board/candidatefinder.h"
#include "board/nextkana.h"
#include "platform/conversion/learningstore.h"
#include "platform/conversion/wordlist.h"
#include "support/talkfixture.h"

#include <QAccessible>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QHash<QString, QString> CandidatesOn = {{"Kanji", "1"}, {"OPT1", "2"}, {"Samp", "0"}};

QList<ColorButton *> nextKeys(TalkFixture &f)
{
    QList<ColorButton *> out;
    for (auto *b : f.window().findChildren<ColorButton *>(QStringLiteral("cmdNext")))
        if (b->isVisible())
            out << b;
    return out;
}

} // namespace

class TestNextKana : public QObject
{
    Q_OBJECT

private slots:
    void theLongestContextSeenLeadsAndSentencesStartAfresh()
    {
        NextKana k;
        QVERIFY(k.likely(u"", {}, {}, 5).isEmpty());
        k.learn(u"おはよう。おちゃをください。");
        k.learn(u"おはよう。");
        QVERIFY(!k.isEmpty());
        // After お: は twice, ち once.
        QCOMPARE(k.likely(u"お", QStringLiteral("お"), {}, 2), (QStringList{"は", "ち"}));
        // A sentence's end starts the next one as the first did: お began every sentence.
        QCOMPARE(k.likely(u"はい。", {}, {}, 1), QStringList{"お"});
        QCOMPARE(k.likely(u"", {}, {}, 1), QStringList{"お"});
        // A longer context outweighs what one kana alone would say: after ちゃ, を.
        k.learn(u"やあ。やあ。やあ。");
        QCOMPARE(k.likely(u"おちゃ", QStringLiteral("おちゃ"), {}, 1), QStringList{"を"});
        QCOMPARE(k.likely(u"や", QStringLiteral("や"), {}, 1), QStringList{"あ"});
        // Never more than asked for, never a character the board does not hold, never the same twice.
        k.learn(u"カタカナ漢字abc");
        const QStringList all = k.likely(u"", {}, {}, 100);
        QCOMPARE(all.size(), QSet<QString>(all.begin(), all.end()).size());
        for (const QString &c : all)
            QVERIFY2(NextKana::offerable(c.front()), qPrintable(c));
        QCOMPARE(k.likely(u"", {}, {}, 0).size(), 0);
        // A kana that a word on the strip is by itself gives its key to the next likeliest.
        QCOMPARE(NextKana::besides({"を", "が", "て", "に", "の", "は"}, {"を", "は", "体位を"}, 3),
                 (QStringList{"が", "て", "に"}));
        k.clear();
        QVERIFY(k.isEmpty() && k.likely(u"お", {}, {}, 5).isEmpty());
    }

    void afterAWordTakenTheKanaThatBeginWordsLead()
    {
        NextKana k;
        const QChar b = NextKana::WordBreak;
        k.learn(QStringLiteral("あさごはん。あさごはん。"));
        k.learn(QStringLiteral("あさ") + b + QStringLiteral("の") + b + QStringLiteral("くすり。"));
        // Typed as kana, あさ goes on as it went on most: ご.
        QCOMPARE(k.likely(u"あさ", QStringLiteral("あさ"), {}, 1), QStringList{"ご"});
        // Taken as 朝, the next kana begins a word: の, as it once did after 朝.
        QCOMPARE(k.likely(u"あさ", {}, {}, 1), QStringList{"の"});
        // The word break itself is never offered.
        QVERIFY(!k.likely(u"あさの", {}, {}, 100).contains(QString(b)));
    }

    void theRunsCandidatesGoOnWithTheirKana()
    {
        NextKana k;
        // Nothing learnt: the candidates alone, the better first.
        const std::vector<Candidate> cands = {{"今日", "きょう"}, {"気持ち", "きもち"}, {"木", "き"}};
        QCOMPARE(k.likely(u"き", QStringLiteral("き"), cands, 5), (QStringList{"ょ", "も"}));
        // What was learnt and the candidates add up.
        k.learn(u"きもち");
        QCOMPARE(k.likely(u"き", QStringLiteral("き"), cands, 1), QStringList{"も"});
    }

    void theFinderLearnsFromWhatTheUserWrote()
    {
        QTemporaryDir dir;
        LearningStore learnt(dir.filePath("learnt.tsv"));
        WordList words;
        words.add(QStringLiteral("みず"), QStringLiteral("水"));
        CandidateFinder finder(nullptr, &learnt, &words);
        QStringList before;
        finder.setWrittenBefore([&before] { return before; });
        // The vocabulary from the first: after み, ず.
        QCOMPARE(finder.nextKana(QStringLiteral("み"), QStringLiteral("み"), {}, 1), QStringList{"ず"});
        // A sentence read aloud counts at once.
        finder.learnSentence(QStringLiteral("みかんをたべたい"));
        finder.learnSentence(QStringLiteral("みかんをむいて"));
        QCOMPARE(finder.nextKana(QStringLiteral("み"), QStringLiteral("み"), {}, 1), QStringList{"か"});
        // A stored sentence added by the carer counts once the list has changed.
        QVERIFY(finder.nextKana(QStringLiteral("ねこ"), QStringLiteral("ねこ"), {}, 1) != QStringList{"が"});
        before << QStringLiteral("ねこがいる");
        QCOMPARE(finder.nextKana(QStringLiteral("ねこ"), QStringLiteral("ねこ"), {}, 1), QStringList{"が"});
        // What was learnt is kept over the relearning.
        QCOMPARE(finder.nextKana(QStringLiteral("みか"), QStringLiteral("みか"), {}, 1), QStringList{"ん"});
    }

    void aKanaKeyEntersItsKanaAsTheBoardWould()
    {
        TalkFixture f(CandidatesOn);
        f.window().show();
        // The care vocabulary is not loaded here: teach the strip one sentence.
        f.program().candidates.learnSentence(QStringLiteral("おちゃをください"));
        f.typed("お_");
        f.program().candidates.afterEntry();
        QTRY_VERIFY(!nextKeys(f).isEmpty() && nextKeys(f).front()->text() == QStringLiteral("ち"));
        ColorButton *key = nextKeys(f).front();
        QCOMPARE(QAccessible::queryAccessibleInterface(key)->text(QAccessible::Name), QStringLiteral("ち"));
        QVERIFY(key->height() >= 44);
        // Square keys at the strip's right end, inside the window, beside the words, never over them.
        const QWidget *strip = f.window().findChild<QWidget *>("fraCand");
        const QWidget *last = nextKeys(f).back();
        const int end = last->mapTo(&f.window(), last->rect().topRight()).x();
        QVERIFY(end < f.window().width() && end > f.window().width() - 30);
        for (auto *w : strip->findChildren<ColorButton *>(QStringLiteral("cmdCand")))
            QVERIFY(!w->geometry().intersects(key->parentWidget()->geometry()));

        TalkFixture::press(key);
        QCOMPARE(f.window().txtTalk->text(), QStringLiteral("おち_"));
        QCOMPARE(f.agent.spoken().back(), QStringLiteral("ち"));
        // The next ones follow the new kana.
        QTRY_VERIFY(!nextKeys(f).isEmpty() && nextKeys(f).front()->text() == QStringLiteral("ゃ"));

        // The katakana board offers katakana; the letters' board none.
        f.press(f.window().cmdKey);
        QCOMPARE(f.shared().state.charSet(), CharSet::Katakana);
        QTRY_VERIFY(!nextKeys(f).isEmpty() && nextKeys(f).front()->text() == QStringLiteral("ャ"));
        TalkFixture::press(nextKeys(f).front());
        QCOMPARE(f.window().txtTalk->text(), QStringLiteral("おちャ_"));
        f.press(f.window().cmdKey);
        QCOMPARE(f.shared().state.charSet(), CharSet::Alphanumeric);
        QTRY_VERIFY(nextKeys(f).isEmpty());

        // With the strip off there are no keys.
        TalkFixture off({{"Kanji", "0"}, {"OPT1", "2"}, {"Samp", "0"}});
        off.window().show();
        off.typed("お_");
        QTest::qWait(20);
        QVERIFY(nextKeys(off).isEmpty());
    }
    void aWordOnTheStripIsNotAlsoAKey()
    {
        // After a word taken, the particles are on the strip, and not on a key as well.
        TalkFixture f(CandidatesOn);
        f.window().show();
        f.program().candidates.learnSentence(QStringLiteral("おちゃをください"));
        f.vocabulary.add(QStringLiteral("おちゃ"), QStringLiteral("お茶"));
        f.vocabulary.add(QStringLiteral("を"), QStringLiteral("を"));
        f.typed("おちゃ_");
        f.program().candidates.afterEntry();
        const auto words = [&f] {
            QStringList out;
            for (auto *w : f.window().findChildren<ColorButton *>(QStringLiteral("cmdCand")))
                if (w->isVisible())
                    out << w->text();
            return out;
        };
        QTRY_VERIFY(words().contains(QStringLiteral("お茶")));
        for (auto *w : f.window().findChildren<ColorButton *>(QStringLiteral("cmdCand")))
            if (w->isVisible() && w->text() == QStringLiteral("お茶"))
                TalkFixture::press(w);
        QTRY_VERIFY(words().contains(QStringLiteral("を")));
        QVERIFY(!nextKeys(f).isEmpty());
        for (const ColorButton *k : nextKeys(f))
            QVERIFY2(!words().contains(k->text()), qPrintable(k->text()));
    }
};

QTEST_MAIN(TestNextKana)
#include "test_nextkana.moc"
