#include "board/suggestkey.h"
#include "entries/entryformat.h"
#include "entries/maillink.h"
#include "modes/decide.h"
#include "modes/kanaindex.h"
#include "shared/talkstate.h"

#include <QSignalSpy>
#include <QTest>

class TestListLogic : public QObject
{
    Q_OBJECT

private slots:
    // The mode follows the list mode and what shows; only a real change is announced.
    void modeOfTheState()
    {
        TalkState s;
        QSignalSpy changed(&s, &TalkState::changed);
        s.showList(ListId::Suggestions);
        QCOMPARE(s.mode(), Mode::Suggest);
        s.setListMode(ListId::Diary);
        QCOMPARE(s.mode(), Mode::Suggest); // suggestions while a diary entry is revised
        s.showBoard();
        QCOMPARE(s.mode(), Mode::DiaryEntry);
        s.showList(ListId::Diary);
        QCOMPARE(s.mode(), Mode::DiaryList);
        s.setListMode(ListId::Addresses);
        QCOMPARE(s.mode(), Mode::AddressEntry); // another list's grid is no address list
        QCOMPARE(changed.count(), 5);
        s.showList(ListId::Diary);
        s.setListMode(ListId::Addresses);
        QCOMPARE(changed.count(), 5);
        s.widenTextArea(true);
        s.widenTextArea(false); // reading keeps the area widened by hand
        QVERIFY(s.textAreaTall() && s.textAreaWidened());
        s.setChosenRow(ListId::Mails, 3);
        QCOMPARE(s.chosenRow(ListId::Mails), 3);
        QCOMPARE(s.chosenRow(ListId::Diary), -1);
        QCOMPARE(changed.count(), 7);
    }

    void kanaHeads()
    {
        using KanaIndex::headOf;
        for (const char *c : {"が", "ぎ", "ぐ", "げ"})
            QCOMPARE(headOf(QString::fromUtf8(c).front()), QStringLiteral("か行"));
        QCOMPARE(headOf(u'ご'), QStringLiteral("が行"));
        QCOMPARE(headOf(u'ぞ'), QStringLiteral("ざ行"));
        QCOMPARE(headOf(u'ど'), QStringLiteral("だ行"));
        QCOMPARE(headOf(u'ぱ'), QStringLiteral("は行"));
        QCOMPARE(headOf(u'ぼ'), QStringLiteral("ば行"));
        QCOMPARE(headOf(u'ぽ'), QStringLiteral("ぱ行"));
        QCOMPARE(headOf(u'っ'), QStringLiteral("た行"));
        QCOMPARE(headOf(u'ぃ'), QStringLiteral("あ行"));
        QCOMPARE(headOf(u'ゅ'), QStringLiteral("や行"));
        QCOMPARE(headOf(u'ゴ'), QStringLiteral("ガ行"));
        QCOMPARE(headOf(u'ッ'), QStringLiteral("タ行"));
        for (char16_t c : {u'ぁ', u'ゃ', u'ゎ', u'ヴ', u'ー', u'漢', u'A', u'1'})
            QCOMPARE(headOf(QChar(c)), QString());
    }

    void headsOfASortedList()
    {
        const QStringList rows = {EntryFormat::Placeholder,
                                  EntryFormat::Placeholder,
                                  "あした",
                                  "かさ",
                                  "がっこう",
                                  "ごはん",
                                  "さくら",
                                  "アイス",
                                  "漢字",
                                  "ゃ"};
        QCOMPARE(KanaIndex::heads(rows),
                 (QStringList{"あ行", "", "", "か行", "", "が行", "さ行", "ア行", "", ""}));
        QCOMPARE(KanaIndex::heads({"1", "A", "あ"}), (QStringList{"", "", "あ行"}));
        QCOMPARE(KanaIndex::heads({"", "やまだ,a"}), (QStringList{"", "や行"}));
        QCOMPARE(KanaIndex::heads({}), QStringList());
    }

    void suggestionKeys()
    {
        using SuggestKey::fromTail;
        QCOMPARE(*fromTail(QStringLiteral("あいう_"), 3, 2), QStringLiteral("いう"));
        QCOMPARE(*fromTail(QStringLiteral("あ_"), 1, 2), QStringLiteral("あ"));
        QCOMPARE(*fromTail(QStringLiteral("あい_"), 2, 2), QStringLiteral("あい"));
        QCOMPARE(*fromTail(QStringLiteral("あいう"), 2, 2), QStringLiteral("いう")); // no marker
        QVERIFY(!fromTail(QStringLiteral("あいう_"), 1, 2));                         // caret inside
        QCOMPARE(*fromTail(QStringLiteral("あいうえお_"), 5, 5), QStringLiteral("あいうえお"));
        QVERIFY(SuggestKey::matches(QStringLiteral("あり"), QStringLiteral("ありがとう")));
        QVERIFY(!SuggestKey::matches(QStringLiteral("あり"), QStringLiteral("あした")));
        // A key with a space matches only the trimmed key itself.
        QVERIFY(SuggestKey::matches(QStringLiteral("あ "), QStringLiteral("あ")));
        QVERIFY(!SuggestKey::matches(QStringLiteral("あ "), QStringLiteral("あい")));
        // The quick filter on a sentence's start passes every sentence that matches.
        const QStringList sentences = {"ありがとう", "あ", "あい",         "",        " あり", "𠮷野家", "𠮷",
                                       "ｱｲｽ",        "ｱ",  "あいうえおか", "あいうえ"};
        int passed = 0;
        for (const QString key : {"あり", "あ ", " ", "𠮷", "ｱｲ", "あいうえお", "あいうえ", "い"}) {
            const SuggestKey::StartFilter filter(key);
            for (const QString &s : sentences) {
                const bool passes = filter.mayMatch(SuggestKey::startOf(s));
                QVERIFY2(passes || !SuggestKey::matches(key, s), qPrintable(key + "|" + s));
                passed += passes;
            }
        }
        QVERIFY(passed < 40);
    }

    void decideReplacesTheTypedBeginning()
    {
        using DecideMath::replaceTyped;
        auto e = replaceTyped(QStringLiteral("きょうはあり_"), 6, QStringLiteral("ありがとう"), 2);
        QCOMPARE(e.text, QStringLiteral("きょうはありがとう_"));
        QCOMPARE(e.caret, 9);
        e = replaceTyped(QStringLiteral("あ_"), 1, QStringLiteral(" ありがとう "), 2);
        QCOMPARE(e.text, QStringLiteral("ありがとう_"));
        QCOMPARE(e.caret, 5);
        e = replaceTyped(QStringLiteral("xyあり"), 4, QStringLiteral("ありがとう"), 2);
        QCOMPARE(e.text, QStringLiteral("xyありがとう"));
        QCOMPARE(e.caret, 8); // one past the end; the text box keeps it at the end
    }

    void decideInsertsAnExample()
    {
        using DecideMath::insertSentence;
        auto e = insertSentence(QStringLiteral("あい_"), 0, QStringLiteral("はい"));
        QCOMPARE(e.text, QStringLiteral("はいあい_"));
        QCOMPARE(e.caret, 2);
        e = insertSentence(QStringLiteral("あい_"), 2, QStringLiteral(" はい "));
        QCOMPARE(e.text, QStringLiteral("あいはい_"));
        QCOMPARE(e.caret, 4);
    }

    void addressSplit()
    {
        using DecideMath::splitAddress;
        auto r = splitAddress(QStringLiteral(" やまだ、abc "));
        QCOMPARE(r->name, QStringLiteral("やまだ"));
        QCOMPARE(r->address, QStringLiteral("abc"));
        r = splitAddress(QStringLiteral("a、b,c")); // "," wins wherever it stands
        QCOMPARE(r->name, QStringLiteral("a、b"));
        QCOMPARE(r->address, QStringLiteral("c"));
        r = splitAddress(QStringLiteral("はは：mama@example.jp_"));
        QCOMPARE(r->address, QStringLiteral("mama@example.jp_"));
        QVERIFY(!splitAddress(QStringLiteral("_")));
        QVERIFY(!DecideMath::hasSeparator(QStringLiteral("no separator")));
    }

    void mailLinks()
    {
        using MailLink::build;
        QCOMPARE(build("a@b.jp", "", ""), QByteArray("mailto:a@b.jp?subject=&body="));
        QCOMPARE(build("MAILTO:a@b.jp", "x", "y"), QByteArray("mailto:a@b.jp?subject=x&body=y"));
        QCOMPARE(build("a@b.jp", "Q&A #1", "50% ok?\nnext\r\nend"),
                 QByteArray("mailto:a@b.jp?subject=Q%26A%20%231&body=50%25%20ok%3F%0D%0Anext%0D%0Aend"));
        QCOMPARE(build("a@b.jp", "あ", "_"), QByteArray("mailto:a@b.jp?subject=%E3%81%82&body="));
        // Only one trailing marker goes; one inside the text stays.
        QCOMPARE(build("a@b.jp", "a_b_", "x__"), QByteArray("mailto:a@b.jp?subject=a_b&body=x_"));
    }
};

QTEST_MAIN(TestListLogic)
#include "test_listlogic.moc"
