#include "entries/entryfiles.h"
#include "entries/entryformat.h"
#include "platform/colors.h"
#include "shared/talkstate.h"
#include "support/talkfixture.h"
#include "text/keyrepeat.h"

#include <QTest>

using EntryFormat::Placeholder;

// The phrase bank: the example list, registering, deleting, suggestions while typing.
class TestExampleList : public QObject
{
    Q_OBJECT

    static std::unique_ptr<TalkFixture> started(const QStringList &talk, QHash<QString, QString> options = {})
    {
        if (!options.contains(QStringLiteral("OPT1")))
            options.insert(QStringLiteral("OPT1"), QStringLiteral("2")); // one press enters
        auto f = std::make_unique<TalkFixture>(options, false);
        f->writeEntries(QStringLiteral("Talk.txt"), talk);
        if (!f->start())
            qFatal("start-up failed");
        return f;
    }

private slots:
    void firstStartCreatesTheFiles()
    {
        TalkFixture f;
        const QStringList talk = f.readEntries(QStringLiteral("Talk.txt"));
        QCOMPARE(talk.mid(0, 2), (QStringList{Placeholder, Placeholder}));
        QVERIFY(talk.size() >= 47);
        for (const char *name : {"day.txt", "addres.txt", "mail.txt"})
            QVERIFY(f.entries.read(QString::fromUtf8(name)).exists);
        QCOMPARE(f.shared().SampleTexts->size(), talk.size());
    }

    void openPickAndClose()
    {
        auto f = started({Placeholder, Placeholder, "かさ", "1ban", "あした", "ABC"});
        TestTalkWindow &w = f->window();
        f->typed(QStringLiteral("あい_"));
        f->press(w.cmdSamp);
        QCOMPARE(CurrentMode(w), Mode::ExampleList);
        QVERIFY(w.grdEx->isVisible() && !w.grdBoard->isVisible());
        QVERIFY(w.fraTalk->isVisible() && !w.fraRes->isVisible());
        QVERIFY(w.cmdSampDel->isVisible() && !w.cmdSampADD->isVisible());
        QCOMPARE(w.cmdSamp->text(), QStringLiteral("例文終了"));
        const QStringList col1 = {"日記", "メール", "1ban", "ABC", "あした", "かさ"};
        const QStringList col0 = {"あ行", "", "", "", "", "か行"};
        for (int r = 0; r < col1.size(); ++r) {
            QCOMPARE(w.grdEx->textMatrix(r, 1), col1[r]);
            QCOMPARE(w.grdEx->textMatrix(r, 0), col0[r]);
        }
        QCOMPARE(f->shared().state.listRow(), 0);
        QCOMPARE(w.grdEx->cellBackColor(0, 1), Colors::LightGreen);
        QCOMPARE(w.grdEx->cellBackColor(0, 0), Colors::White);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("あい_"));

        f->pressCell(w.grdEx, 4, 1); // あした
        QCOMPARE(f->shared().state.listRow(), 4);
        QCOMPARE(w.grdEx->cellBackColor(0, 1), Colors::White);
        QCOMPARE(w.grdEx->cellBackColor(4, 1), Colors::LightGreen);
        QCOMPARE(w.grdEx->cellBackColor(4, 0), Colors::White);
        f->press(w.cmdDec);
        QCOMPARE(CurrentMode(w), Mode::Board);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("あいあした_"));
        QCOMPARE(w.txtTalk->selText(), QStringLiteral("_"));
        QVERIFY(w.cmdSampADD->isVisible() && w.fraRes->isVisible());

        f->press(w.cmdSamp);
        f->press(w.cmdSamp); // 例文終了: back without touching the text
        QCOMPARE(CurrentMode(w), Mode::Board);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("あいあした_"));
        QCOMPARE(w.cmdSamp->text(), QStringLiteral("例文表示"));
    }

    void registerRefuseDuplicateAndDelete()
    {
        auto f = started({Placeholder, Placeholder, "はい"});
        TestTalkWindow &w = f->window();
        f->typed(QStringLiteral(" はい_"));
        f->answerOk(0);
        f->press(w.cmdSampADD);
        QCOMPARE(f->prompts, QStringList{"同一文が登録されています"});
        QCOMPARE(CurrentMode(w), Mode::Board);

        f->typed(QStringLiteral("ありがとう_"));
        f->press(w.cmdSampADD);
        QCOMPARE(CurrentMode(w), Mode::ExampleList);
        QCOMPARE(f->readEntries("Talk.txt"), (QStringList{Placeholder, Placeholder, "はい", "ありがとう"}));
        QCOMPARE(w.grdEx->textMatrix(f->shared().state.listRow(), 1), QStringLiteral("ありがとう"));
        QCOMPARE(w.grdEx->cellBackColor(f->shared().state.listRow(), 1), Colors::LightGreen);
        QCOMPARE(w.grdEx->textMatrix(0, 1), QStringLiteral("日記"));

        // The menu rows cannot be deleted, and ask nothing.
        f->pressCell(w.grdEx, 1, 1);
        f->press(w.cmdSampDel);
        QCOMPARE(f->prompts.size(), 1);
        // Declined: nothing changes.
        f->pressCell(w.grdEx, 2, 1);
        f->answerOk(1);
        f->press(w.cmdSampDel);
        QCOMPARE(f->readEntries("Talk.txt").size(), 4);
        f->answerOk(0);
        f->press(w.cmdSampDel);
        QCOMPARE(f->prompts.last(), QStringLiteral("上記例文を削除してもいいですか？"));
        QCOMPARE(f->readEntries("Talk.txt"), (QStringList{Placeholder, Placeholder, "はい"}));
        QVERIFY(!f->shared().SampleTexts->contains(QStringLiteral("ありがとう")));
        // Registering it again is accepted: the emptied row no longer matches.
        f->press(w.cmdSamp);
        f->typed(QStringLiteral("ありがとう_"));
        f->press(w.cmdSampADD);
        QCOMPARE(f->readEntries("Talk.txt").size(), 4);
        // A sentence with a quote is offered as the file reads it back.
        f->press(w.cmdSamp);
        f->typed(QStringLiteral("いう\"はい\"_"));
        f->press(w.cmdSampADD);
        QVERIFY(f->shared().SampleTexts->contains(QStringLiteral("いう＂はい＂")));
        QCOMPARE(*f->shared().SampleTexts, f->readEntries("Talk.txt"));
    }

    // The menu rows are known by their place, not their text: a stored sentence
    // that reads メール or 日記 is kept, taken and deleted as a sentence.
    void aSentenceThatReadsLikeAMenuRowIsASentence()
    {
        auto f = started({Placeholder, Placeholder, "メール"});
        TestTalkWindow &w = f->window();
        f->typed(QStringLiteral("日記_"));
        f->press(w.cmdSampADD);
        QCOMPARE(f->readEntries("Talk.txt"), (QStringList{Placeholder, Placeholder, "メール", "日記"}));
        QCOMPARE(w.grdEx->textMatrix(f->shared().state.listRow(), 1), QStringLiteral("日記"));
        QVERIFY(f->shared().state.listRow() >= 2);

        f->typed(QStringLiteral("_"));
        f->press(w.cmdDec); // taken into the text, not the diary opened
        QCOMPARE(CurrentMode(w), Mode::Board);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("日記_"));

        f->press(w.cmdSamp);
        const int mail = w.grdEx->findTrimmed(1, QStringLiteral("メール"), 2);
        QVERIFY(mail >= 2);
        f->pressCell(w.grdEx, mail, 1);
        f->answerOk(0);
        f->press(w.cmdSampDel);
        QCOMPARE(f->prompts.last(), QStringLiteral("上記例文を削除してもいいですか？"));
        QCOMPARE(f->readEntries("Talk.txt"), (QStringList{Placeholder, Placeholder, "日記"}));
    }

    // A sentence that reads like a menu row is stored, found, taken and deleted as written.
    void menuWordsAreSentences()
    {
        auto f = started({Placeholder, Placeholder, "はい"});
        TestTalkWindow &w = f->window();
        for (const QString &word : {QStringLiteral("メール"), QStringLiteral("日記")}) {
            f->typed(word + QStringLiteral("_"));
            f->press(w.cmdSampADD);
            QCOMPARE(CurrentMode(w), Mode::ExampleList);
            QVERIFY(f->prompts.isEmpty());
            QCOMPARE(w.grdEx->textMatrix(f->shared().state.listRow(), 1), word);
            QVERIFY(f->shared().state.listRow() >= 2);
            f->press(w.cmdSamp);
        }
        QCOMPARE(f->readEntries("Talk.txt"),
                 (QStringList{Placeholder, Placeholder, "はい", "メール", "日記"}));
        QVERIFY(f->shared().SampleTexts->contains(QStringLiteral("日記")));
        // Stored twice is refused as any sentence is.
        f->typed(QStringLiteral("メール_"));
        f->answerOk(0);
        f->press(w.cmdSampADD);
        QCOMPARE(f->prompts, QStringList{"同一文が登録されています"});

        // Taken from the list, the sentence is written, not the diary opened.
        f->typed(QString());
        f->press(w.cmdSamp);
        const int diaryWord = w.grdEx->findTrimmed(1, QStringLiteral("日記"), EntryFormat::FirstSentenceRow);
        QVERIFY(diaryWord >= 2);
        f->pressCell(w.grdEx, diaryWord, 1);
        f->press(w.cmdDec);
        QCOMPARE(CurrentMode(w), Mode::Board);
        QVERIFY(w.txtTalk->text().startsWith(QStringLiteral("日記")));

        // Deleting it asks and deletes the sentence; the menu row stays.
        f->press(w.cmdSamp);
        f->pressCell(w.grdEx,
                     w.grdEx->findTrimmed(1, QStringLiteral("メール"), EntryFormat::FirstSentenceRow), 1);
        f->answerOk(0);
        f->press(w.cmdSampDel);
        QCOMPARE(f->prompts.last(), QStringLiteral("上記例文を削除してもいいですか？"));
        QCOMPARE(f->readEntries("Talk.txt"), (QStringList{Placeholder, Placeholder, "はい", "日記"}));
        QCOMPARE(w.grdEx->textMatrix(1, 1), QStringLiteral("メール"));
    }

    void theBareMarkerRegistersNothingAndDeletesNothing()
    {
        auto f = started({Placeholder, Placeholder, "かさ", "あした"});
        TestTalkWindow &w = f->window();
        f->press(w.cmdSamp);
        const int kasa = 3; // 日記 メール あした かさ, after the index
        QCOMPARE(w.grdEx->textMatrix(kasa, 1), QStringLiteral("かさ"));
        f->pressCell(w.grdEx, kasa, 1);
        f->press(w.cmdSamp);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("_"));
        f->press(w.cmdSampADD); // nothing to store: nothing happens
        QCOMPARE(CurrentMode(w), Mode::Board);
        QVERIFY(f->modal.shown.isEmpty());
        QCOMPARE(f->readEntries("Talk.txt"), (QStringList{Placeholder, Placeholder, "かさ", "あした"}));

        // A list with no row shown selected: Delete and Decide do nothing.
        f->press(w.cmdSamp);
        for (int r = 0; r < w.grdEx->rows(); ++r) {
            w.grdEx->setRow(r);
            w.grdEx->setCol(1);
            w.grdEx->setColSel(1);
            w.grdEx->setCellBackColor(Colors::White);
        }
        f->shared().state.setListRow(kasa);
        f->answerOk(0);
        f->press(w.cmdSampDel);
        QVERIFY(f->modal.shown.isEmpty());
        f->modal.answers.clear();
        QCOMPARE(f->readEntries("Talk.txt").size(), 4);
        f->press(w.cmdDec);
        QCOMPARE(CurrentMode(w), Mode::ExampleList);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("_"));
        // Selected again by a press, it is deleted after the question.
        f->pressCell(w.grdEx, kasa, 1);
        f->answerOk(0);
        f->press(w.cmdSampDel);
        QCOMPARE(f->readEntries("Talk.txt"), (QStringList{Placeholder, Placeholder, "あした"}));
    }

    void failedSaveKeepsTheFileAndSaysSo()
    {
        auto f = started({Placeholder, Placeholder, "はい"});
        TestTalkWindow &w = f->window();
        f->typed(QStringLiteral("ありがとう_"));
        f->entries.failNextWrite();
        f->answerOk(0);
        f->press(w.cmdSampADD);
        QCOMPARE(f->prompts.size(), 1);
        QVERIFY(f->prompts[0].contains(QStringLiteral("保存できませんでした")));
        QCOMPARE(f->readEntries("Talk.txt"), (QStringList{Placeholder, Placeholder, "はい"}));
        QCOMPARE(w.txtTalk->text(), QStringLiteral("ありがとう_"));
        QCOMPARE(CurrentMode(w), Mode::Board);
    }

    void suggestionsWhileTyping()
    {
        auto f = started({Placeholder, Placeholder, "ありがとう", "あした", "ありがたい"});
        TestTalkWindow &w = f->window();
        f->typed(QStringLiteral("きょうは_"));
        f->pressCell(w.grdBoard, 0, 9);        // あ
        QCOMPARE(CurrentMode(w), Mode::Board); // "はあ" matches nothing: the board stays
        f->pressCell(w.grdBoard, 1, 1);        // り
        QCOMPARE(CurrentMode(w), Mode::Suggest);
        QCOMPARE(w.grdSp->textMatrix(0, 0), QStringLiteral("あり"));
        QCOMPARE(w.grdSp->textMatrix(1, 0), QStringLiteral("ありがとう"));
        QCOMPARE(w.grdSp->textMatrix(2, 0), QStringLiteral("ありがたい"));
        QCOMPARE(w.grdSp->cellBackColor(0, 0), Colors::LightGreen);
        QVERIFY(w.fraTalk->isVisible() && !w.grdBoard->isVisible());

        f->press(w.cmdUp); // on the key row: nothing
        QCOMPARE(f->shared().state.listRow(), 0);
        QTest::mousePress(w.cmdDown, Qt::LeftButton);
        QTest::mouseRelease(w.cmdDown, Qt::LeftButton);
        QCOMPARE(f->shared().state.listRow(), 1);
        f->press(w.cmdDec);
        QCOMPARE(CurrentMode(w), Mode::Board);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("きょうはありがとう_"));
        QCOMPARE(w.txtTalk->selText(), QStringLiteral("_"));
    }

    // A chosen suggestion takes the place of what was typed last, though the caret was since touched
    // into the text; a sentence or a paste that would not fit goes in whole or not at all.
    void whatIsPutInReplacesTheTypedTailOrNothing()
    {
        auto f = started({Placeholder, Placeholder, "ありがとう"});
        TestTalkWindow &w = f->window();
        f->typed(QStringLiteral("きょうは_"));
        f->pressCell(w.grdBoard, 0, 9); // あ
        f->pressCell(w.grdBoard, 1, 1); // り
        QCOMPARE(CurrentMode(w), Mode::Suggest);
        f->program().sentence.setSelStart(1);
        f->pressCell(w.grdSp, 1, 0);
        f->press(w.cmdDec);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("きょうはありがとう_"));

        const QString full = QString(497, QChar(u'い')) + QStringLiteral("あと_");
        f->typed(full);
        f->program().sentence.setSelStart(10);
        f->press(w.cmdSamp);
        f->pressCell(w.grdEx, 2, 1); // ありがとう: five more than the text holds
        f->answerOk(0);
        f->press(w.cmdDec);
        QCOMPARE(f->prompts.size(), 1);
        QVERIFY(f->prompts[0].contains(QStringLiteral("入れませんでした")));
        QCOMPARE(w.txtTalk->text(), full);
        QCOMPARE(CurrentMode(w), Mode::Board);

        f->clipboard.content = QStringLiteral("まだある");
        f->answerOk(0);
        f->press(w.cmdPaste);
        QCOMPARE(f->prompts.size(), 2);
        QVERIFY(f->prompts[1].contains(QStringLiteral("貼り付けませんでした")));
        QCOMPARE(w.txtTalk->text(), full);
        QCOMPARE(f->clipboard.content, QStringLiteral("まだある"));
    }

    void placeholderLinesAreNeverOffered()
    {
        auto f = started({Placeholder, Placeholder, "あした"});
        f->pressCell(f->window().grdBoard, 0, 9); // あ
        QCOMPARE(CurrentMode(f->window()), Mode::Suggest);
        QCOMPARE(f->window().grdSp->rows(), 2);
        QCOMPARE(f->window().grdSp->textMatrix(1, 0), QStringLiteral("あした"));
    }

    void noSuggestionsWhenOff()
    {
        auto f = started({Placeholder, Placeholder, "ありがとう"}, {{"Samp", "0"}});
        f->pressCell(f->window().grdBoard, 0, 9);
        QCOMPARE(CurrentMode(f->window()), Mode::Board);
    }

    void scrollingALongList()
    {
        QStringList talk{Placeholder, Placeholder};
        for (int i = 0; i < 8; ++i)
            talk << QStringLiteral("か%1").arg(i);
        auto f = started(talk);
        TestTalkWindow &w = f->window();
        f->press(w.cmdSamp);
        QTest::mousePress(w.cmdDown, Qt::LeftButton);
        QCOMPARE(w.cmdDown->backColor(), 0x008000u);
        QTRY_COMPARE(f->shared().state.listRow(), 9);
        QTRY_VERIFY(!f->program().keyRepeat.repeating());
        QTest::mouseRelease(w.cmdDown, Qt::LeftButton);
        QCOMPARE(w.cmdDown->backColor(), 0x80FF80u);
        QVERIFY(w.grdEx->topRow() > 0);
        QCOMPARE(w.grdEx->cellBackColor(9, 1), Colors::LightGreen);
        QCOMPARE(w.grdEx->cellBackColor(8, 1), Colors::White);
        QTest::mousePress(w.cmdUp, Qt::LeftButton);
        QTRY_COMPARE(f->shared().state.listRow(), 0);
        QTest::mouseRelease(w.cmdUp, Qt::LeftButton);
        QCOMPARE(w.grdEx->topRow(), 0);
    }

    void textAreaTools()
    {
        auto f = started({Placeholder, Placeholder});
        TestTalkWindow &w = f->window();
        f->press(w.cmdWide);
        QCOMPARE(w.cmdWide->text(), QStringLiteral("狭める"));
        QCOMPARE(Twips::rect(w.txtTalk).height(), w.heightTwips() - 3630);
        QCOMPARE(Twips::rect(w.fraText).height(), w.heightTwips() - 3480);
        QCOMPARE(Twips::rect(w.fraText).bottom() + 1, 8100); // just above the bottom frames
        QVERIFY(w.cmdPaste->isVisible());
        f->press(w.cmdWide);
        QCOMPARE(Twips::rect(w.txtTalk).height(), 2295);
        QCOMPARE(Twips::rect(w.fraText).height(), 2445);

        f->typed(QStringLiteral("あい_"));
        f->press(w.cmdCopy);
        QCOMPARE(f->clipboard.content, QStringLiteral("あい_"));
        f->press(w.cmdPaste);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("あい_あい_"));
        QCOMPARE(f->clipboard.content, QString());
        QCOMPARE(w.cmdCopy->backColor(), 0xFFFFFFu);
        f->press(w.cmdPaste); // empty clipboard: nothing
        QCOMPARE(w.txtTalk->text(), QStringLiteral("あい_あい_"));
    }

    // Reopening shows the file as it is now, with only row 0 marked, whether or not the list is built anew.
    void reopenedListFollowsTheFile()
    {
        auto f = started({"かさ", Placeholder, "あした", Placeholder});
        TestTalkWindow &w = f->window();
        const auto rows = [&w] {
            QStringList out;
            for (int r = 0; r < w.grdEx->rows(); ++r)
                out << w.grdEx->textMatrix(r, 0) + w.grdEx->textMatrix(r, 1);
            return out;
        };
        f->press(w.cmdSamp);
        const QStringList shown = {"あ行日記", "メール", "あした", "か行かさ"};
        QCOMPARE(rows(), shown);
        f->pressCell(w.grdEx, 3, 1);
        f->press(w.cmdSamp);
        f->press(w.cmdSamp);
        QCOMPARE(rows(), shown);
        QCOMPARE(w.grdEx->cellBackColor(3, 1), Colors::White);
        QCOMPARE(w.grdEx->cellBackColor(0, 1), Colors::LightGreen);
        QCOMPARE(f->shared().state.listRow(), 0);
        f->press(w.cmdSamp);
        f->writeEntries(QStringLiteral("Talk.txt"), {Placeholder, Placeholder, "さくら"});
        f->press(w.cmdSamp);
        QCOMPARE(rows(), (QStringList{"あ行日記", "メール", "さ行さくら"}));
        QCOMPARE(*f->shared().SampleTexts, (QStringList{Placeholder, Placeholder, "さくら"}));
    }

    void restart()
    {
        auto f = started({Placeholder, Placeholder});
        TestTalkWindow &w = f->window();
        f->pressCell(w.grdBoard, 0, 9);
        f->answerOk(1);
        f->press(w.cmdStart);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("あ_"));
        QCOMPARE(w.grdBoard->cellBackColor(0, 9), Colors::SystemDesktop);
        f->answerOk(0);
        f->press(w.cmdStart);
        QCOMPARE(f->prompts.last(), QStringLiteral("はじめからでよろしいですか？"));
        QCOMPARE(w.txtTalk->text(), QString());
        QCOMPARE(w.grdBoard->cellBackColor(0, 9), Colors::White);
    }
};

QTEST_MAIN(TestExampleList)
#include "test_examplelist.moc"
