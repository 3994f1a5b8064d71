#include "entries/entryformat.h"
#include "entries/mailwindow.h"
#include "platform/colors.h"
#include "shared/talkstate.h"
#include "support/talkfixture.h"

#include <QAccessible>
#include <QPlainTextEdit>
#include <QTest>

using EntryFormat::Placeholder;

// The diary, the address book and mails: the list button's closing roads, Decide and Back.
class TestDiaryMail : public QObject
{
    Q_OBJECT

    static std::unique_ptr<TalkFixture> started(const QString &suggestions = QStringLiteral("0"))
    {
        auto f = std::make_unique<TalkFixture>(QHash<QString, QString>{{"OPT1", "2"}, {"Samp", suggestions}},
                                               false);
        f->writeEntries(QStringLiteral("Talk.txt"), {Placeholder, Placeholder, "はい"});
        f->writeEntries(QStringLiteral("day.txt"), {"26.11.30 さむい"});
        f->writeEntries(QStringLiteral("addres.txt"), {"よしこ,yoshiko@example.jp", "あに、ani@example.jp"});
        f->writeEntries(QStringLiteral("mail.txt"), {"げんき？"});
        if (!f->start())
            qFatal("start-up failed");
        return f;
    }

    // From the board through the example list's menu row into a list.
    static void openMenuRow(TalkFixture &f, int row)
    {
        f.press(f.window().cmdSamp);
        f.pressCell(f.window().grdEx, row, 1);
        f.press(f.window().cmdDec);
    }

    static void openAddressBookEntry(TalkFixture &f, int row)
    {
        openMenuRow(f, 1);
        f.pressCell(f.window().grdAD, row, 1);
        f.press(f.window().cmdDec);
    }

private slots:
    void diaryEntryIsStoredUnderToday()
    {
        auto f = started();
        TestTalkWindow &w = f->window();
        openMenuRow(*f, 0);
        QCOMPARE(CurrentMode(w), Mode::DiaryList);
        QCOMPARE(w.cmdSamp->text(), QStringLiteral("日記終了"));
        QCOMPARE(w.grdDay->textMatrix(0, 0), QStringLiteral("26.12.08"));
        QCOMPARE(w.grdDay->textMatrix(0, 1), QString());
        QCOMPARE(w.grdDay->textMatrix(1, 1), QStringLiteral("さむい"));
        QCOMPARE(w.grdDay->cellBackColor(0, 1), Colors::LightGreen);
        QVERIFY(!w.cmdSampADD->isVisible() && !w.cmdSampDel->isVisible());

        f->press(w.cmdDec);
        QCOMPARE(CurrentMode(w), Mode::DiaryEntry);
        QVERIFY(w.fraDay->isVisible() && !w.fraTalk->isVisible());
        QCOMPARE(w.txtTalk->backColor(), Colors::LightGreen);
        QCOMPARE(w.cmdBack->text(), QStringLiteral("戻る"));
        QCOMPARE(w.cmdWide->text(), QStringLiteral("狭める"));
        QCOMPARE(Twips::rect(w.txtTalk).height(), w.heightTwips() - 3630);

        f->press(w.cmdRevise);
        QVERIFY(w.grdBoard->isVisible() && w.fraRes->isVisible());
        QCOMPARE(Twips::rect(w.txtTalk).height(), 2295);
        QCOMPARE(CurrentMode(w), Mode::DiaryEntry);
        f->pressCell(w.grdBoard, 0, 9);
        f->pressCell(w.grdBoard, 4, 9);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("あお_"));

        f->answerOk(0);
        f->press(w.cmdSamp);
        QCOMPARE(f->prompts, QStringList{"日記を登録して終了します"});
        QCOMPARE(f->readEntries("day.txt"), (QStringList{"26.12.08 あお_", "26.11.30 さむい"}));
        QCOMPARE(CurrentMode(w), Mode::Board);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("_"));
        QCOMPARE(w.txtTalk->backColor(), Colors::White);
    }

    // A file changed on disk while an entry was open (a carer's line, or a file that could not be read
    // when the list opened) keeps what it gained: the entry goes where its row now is.
    void aSaveKeepsWhatTheFileGainedMeanwhile()
    {
        auto f = started();
        TestTalkWindow &w = f->window();
        openMenuRow(*f, 0);
        f->pressCell(w.grdDay, 1, 1); // さむい
        f->press(w.cmdDec);
        f->press(w.cmdRevise);
        f->pressCell(w.grdBoard, 0, 9); // あ
        QTest::qWait(20);               // a new stamp even on a coarse clock
        f->writeEntries(QStringLiteral("day.txt"), {"26.12.01 はれ", "26.11.30 さむい", "26.11.29 くもり"});
        f->answerOk(0);
        f->press(w.cmdSamp);
        QCOMPARE(f->readEntries("day.txt"),
                 (QStringList{"26.12.08 ", "26.12.01 はれ", "26.11.30 さむあい_", "26.11.29 くもり"}));

        // The row opened was removed meanwhile: nothing is saved over the file, and the text stays.
        openAddressBookEntry(*f, 2); // よしこ
        f->press(w.cmdRevise);
        f->pressCell(w.grdBoard, 0, 9);
        QTest::qWait(20);
        f->writeEntries(QStringLiteral("addres.txt"), {"あに、ani@example.jp"});
        f->answerOk(0);
        f->answerOk(0);
        f->press(w.cmdSamp);
        QVERIFY(f->prompts.last().contains(QStringLiteral("保存しませんでした")));
        QCOMPARE(f->readEntries("addres.txt"), QStringList{"あに、ani@example.jp"});
        QCOMPARE(w.txtTalk->text(), QStringLiteral("よしこ,yoshiko@example.jあp_"));
        // The entry stays open; pressing again stores it as a new address, over no other.
        QCOMPARE(CurrentMode(w), Mode::AddressEntry);
        f->answerOk(0);
        f->press(w.cmdSamp);
        QCOMPARE(f->readEntries("addres.txt"),
                 (QStringList{"よしこ,yoshiko@example.jあp", "あに、ani@example.jp"}));
        QCOMPARE(CurrentMode(w), Mode::Board);

        // A save that fails (a full disk) keeps the entry open too, and the next press saves it.
        openMenuRow(*f, 0);
        f->press(w.cmdDec);
        f->press(w.cmdRevise);
        f->pressCell(w.grdBoard, 4, 9); // お
        f->entries.failNextWrite();
        f->answerOk(0);
        f->answerOk(0);
        f->press(w.cmdSamp);
        QCOMPARE(CurrentMode(w), Mode::DiaryEntry);
        f->answerOk(0);
        f->press(w.cmdSamp);
        QCOMPARE(CurrentMode(w), Mode::Board);
        QCOMPARE(f->readEntries("day.txt").value(0), QStringLiteral("26.12.08 お_"));

        // A diary day removed meanwhile: refused once, then kept as today's entry, not refused for ever.
        openMenuRow(*f, 0);
        f->pressCell(w.grdDay, 2, 1); // 26.11.30 さむあい_ (today has its entry, so no empty row)
        f->press(w.cmdDec);
        f->press(w.cmdRevise);
        f->pressCell(w.grdBoard, 0, 9); // あ
        QTest::qWait(20);
        f->writeEntries(QStringLiteral("day.txt"), {"26.11.29 くもり"});
        f->answerOk(0);
        f->answerOk(0);
        f->press(w.cmdSamp);
        QVERIFY(f->prompts.last().contains(QStringLiteral("保存しませんでした")));
        QCOMPARE(CurrentMode(w), Mode::DiaryEntry);
        f->answerOk(0);
        f->press(w.cmdSamp);
        QCOMPARE(CurrentMode(w), Mode::Board);
        QCOMPARE(f->readEntries("day.txt"), (QStringList{"26.12.08 さむあいあ_", "26.11.29 くもり"}));
    }

    // The handlers and the tests read the mode from one place: suggestions shown
    // while a diary entry is revised are decided as suggestions, and the diary
    // entry is still stored when the list closes.
    void suggestionsWhileRevisingADiaryEntry()
    {
        auto f = started(QStringLiteral("1"));
        TestTalkWindow &w = f->window();
        openMenuRow(*f, 0);
        f->press(w.cmdDec);
        f->press(w.cmdRevise);
        f->typed(QStringLiteral("_"));
        f->pressCell(w.grdBoard, 0, 4); // は
        QCOMPARE(CurrentMode(w), Mode::Suggest);
        QCOMPARE(w.grdSp->textMatrix(1, 0), QStringLiteral("はい"));
        f->pressCell(w.grdSp, 1, 0);
        f->press(w.cmdDec);
        QCOMPARE(CurrentMode(w), Mode::DiaryEntry);
        QVERIFY(w.grdBoard->isVisible() && w.fraRes->isVisible() && !w.fraTalk->isVisible());
        QCOMPARE(w.txtTalk->text(), QStringLiteral("はい_"));

        f->answerOk(0);
        f->press(w.cmdSamp);
        QCOMPARE(f->prompts, QStringList{"日記を登録して終了します"});
        QCOMPARE(f->readEntries("day.txt"), (QStringList{"26.12.08 はい_", "26.11.30 さむい"}));
        QCOMPARE(CurrentMode(w), Mode::Board);
    }

    // An entry written elsewhere, longer than the text box holds: shown cut and said so, saved whole.
    void aLongEntryIsSavedWhole()
    {
        auto f = started();
        TestTalkWindow &w = f->window();
        const QString longer = QString(450, u'あ') + QString(250, u'い');
        f->writeEntries(QStringLiteral("day.txt"), {"26.11.30 " + longer});
        openMenuRow(*f, 0);
        f->pressCell(w.grdDay, 1, 1);
        f->answerOk(0); // the notice
        f->press(w.cmdDec);
        QCOMPARE(f->prompts.value(0),
                 QStringLiteral("長いので、初めの 500 文字だけを出しています。残りの 200 "
                                "文字は、保存しても送ってもそのまま残ります。"));
        QCOMPARE(w.txtTalk->text(), longer.left(500));
        f->answerOk(0);
        f->press(w.cmdSamp);
        QVERIFY(f->readEntries("day.txt").contains("26.11.30 " + longer));

        // What the box holds is followed by the rest, with no marker between them.
        f->shared().state.setEditRow(1, QStringLiteral("いい"));
        QCOMPARE(f->program().files.whole(QStringLiteral("ああ_")), QStringLiteral("ああいい"));
        f->shared().state.forgetEditTail();

        // A new entry after it keeps nothing of it.
        openMenuRow(*f, 0);
        f->press(w.cmdDec);
        f->press(w.cmdRevise);
        f->typed(QStringLiteral("ゆき_"));
        f->answerOk(0);
        f->press(w.cmdSamp);
        QCOMPARE(f->readEntries("day.txt").value(0), QStringLiteral("26.12.08 ゆき_"));

        // The file cannot be read when the entry is saved: not saved, said so, and its rest kept for
        // the save after it reads again (as a new entry: the day it was is not known now).
        openMenuRow(*f, 0);
        f->pressCell(w.grdDay, 1, 1); // the long one, after today's
        f->answerOk(0);
        f->press(w.cmdDec);
        f->press(w.cmdRevise);
        QTest::qWait(20);
        {
            QFile day(f->folder.filePath(QStringLiteral("day.txt")));
            QVERIFY(day.open(QIODevice::WriteOnly));
            day.write("\xFF\xFE\x42\x30"); // UTF-16, which is read no more than it is written over
        }
        f->prompts.clear();
        f->answerOk(0);
        f->answerOk(0);
        f->answerOk(0);
        f->press(w.cmdSamp);
        QVERIFY(f->prompts.last().contains(QStringLiteral("いまの文は消さずに残しています")));
        QCOMPARE(CurrentMode(w), Mode::DiaryEntry);
        {
            QFile day(f->folder.filePath(QStringLiteral("day.txt"))); // mended by hand
            QVERIFY(day.open(QIODevice::WriteOnly));
            day.write("26.11.29 \"\x82\xAD\x82\xE0\x82\xE8\"\r\n"); // くもり
        }
        f->answerOk(0);
        f->press(w.cmdSamp);
        QCOMPARE(CurrentMode(w), Mode::Board);
        QCOMPARE(f->readEntries("day.txt"), (QStringList{"26.12.08 " + longer, "26.11.29 くもり"}));
    }

    // The bare marker a list action leaves is no mail: leaving asks nothing and stores nothing.
    void aBareMarkerIsNoMailToStore()
    {
        auto f = started();
        TestTalkWindow &w = f->window();
        openAddressBookEntry(*f, 2);
        f->press(w.cmdBack);
        f->press(w.cmdDec); // row 0: a new mail
        f->press(w.cmdRevise);
        f->typed(QStringLiteral("_"));
        const QStringList before = f->readEntries("mail.txt");
        f->answerOk(0);
        f->press(w.cmdSamp);
        QVERIFY(!f->prompts.contains(QStringLiteral("メールを登録して終了します")));
        QCOMPARE(f->readEntries("mail.txt"), before);
        QCOMPARE(CurrentMode(w), Mode::Board);
    }

    // What the user wrote on the board before choosing 日記 becomes today's new entry, not lost to it.
    void aNewEntryTakesWhatWasWritten()
    {
        auto f = started();
        TestTalkWindow &w = f->window();
        f->typed(QStringLiteral("あした_"));
        openMenuRow(*f, 0);
        f->press(w.cmdDec); // today's empty row
        QCOMPARE(w.txtTalk->text(), QStringLiteral("あした_"));
        f->answerOk(0);
        f->press(w.cmdSamp);
        QCOMPARE(f->readEntries("day.txt").value(0), QStringLiteral("26.12.08 あした_"));

        // An entry looked at before is no writing: today's row opened after it starts empty.
        auto g = started();
        TestTalkWindow &v = g->window();
        openMenuRow(*g, 0);
        g->pressCell(v.grdDay, 1, 1);
        g->press(v.cmdDec);
        QVERIFY(!v.txtTalk->text().isEmpty());
        g->press(v.cmdBack); // back to the list, the entry still in the box
        g->pressCell(v.grdDay, 0, 1);
        g->press(v.cmdDec);
        QVERIFY2(v.txtTalk->text().remove(u'_').isEmpty(), qPrintable(v.txtTalk->text()));
    }

    void declinedDiaryKeepsTheText()
    {
        auto f = started();
        TestTalkWindow &w = f->window();
        openMenuRow(*f, 0);
        f->pressCell(w.grdDay, 1, 1);
        f->press(w.cmdDec);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("さむい"));
        QCOMPARE(f->shared().state.editRow(), 1);
        // Back shows the list again, the entry still in the text box.
        f->press(w.cmdBack);
        QCOMPARE(CurrentMode(w), Mode::DiaryList);
        QCOMPARE(Twips::rect(w.txtTalk).height(), 2295);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("さむい"));
        QCOMPARE(f->shared().state.listRow(), 0);
        f->pressCell(w.grdDay, 1, 1);
        f->press(w.cmdDec);
        f->typed(QStringLiteral("さむい、ゆき_"));
        f->answerOk(1);
        f->press(w.cmdSamp);
        QCOMPARE(f->readEntries("day.txt"), QStringList{"26.11.30 さむい"});
        QCOMPARE(w.txtTalk->text(), QStringLiteral("さむい、ゆき_")); // kept, marker at its end
        QCOMPARE(CurrentMode(w), Mode::Board);
    }

    void addressListClosingRoads()
    {
        auto f = started();
        TestTalkWindow &w = f->window();
        openMenuRow(*f, 1);
        QCOMPARE(CurrentMode(w), Mode::AddressList);
        QCOMPARE(w.grdAD->textMatrix(0, 1), QString());
        QCOMPARE(w.grdAD->textMatrix(1, 1), QStringLiteral("あに、ani@example.jp"));
        QCOMPARE(w.grdAD->textMatrix(1, 0), QStringLiteral("あ行"));
        QCOMPARE(w.grdAD->textMatrix(2, 0), QStringLiteral("や行"));
        // Only the marker the list left: nothing to store, so it leaves without a word.
        QCOMPARE(w.txtTalk->text(), QStringLiteral("_"));
        f->press(w.cmdSamp);
        QVERIFY(f->prompts.isEmpty());
        QCOMPARE(CurrentMode(w), Mode::Board);
        QVERIFY(w.isEnabled());
        // What the user wrote before choosing メール is no address: leaving the list neither
        // stops on it for want of a comma nor throws it away.
        for (const QString &written : {QStringLiteral("おなかすいた_"), QStringLiteral("はい、どうぞ_")}) {
            f->typed(written);
            openMenuRow(*f, 1);
            QCOMPARE(CurrentMode(w), Mode::AddressList);
            f->press(w.cmdSamp);
            QVERIFY(f->prompts.isEmpty());
            QCOMPARE(CurrentMode(w), Mode::Board);
            QCOMPARE(w.txtTalk->text(), written);
        }
    }

    void newAddressIsStoredFirst()
    {
        auto f = started();
        TestTalkWindow &w = f->window();
        openAddressBookEntry(*f, 0);
        QCOMPARE(CurrentMode(w), Mode::AddressEntry);
        QCOMPARE(w.txtTalk->backColor(), Colors::LightBlue);
        QCOMPARE(w.cmdBack->text(), QStringLiteral("決定"));
        f->press(w.cmdRevise);
        f->typed(QStringLiteral("はは：haha@example.jp_"));
        f->answerOk(1); // NO: nothing stored, the text is emptied all the same
        f->press(w.cmdSamp);
        QCOMPARE(f->readEntries("addres.txt").size(), 2);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("_"));

        openAddressBookEntry(*f, 0);
        f->typed(QStringLiteral("はは：haha@example.jp_"));
        f->answerOk(0);
        f->press(w.cmdSamp);
        QCOMPARE(f->prompts.last(), QStringLiteral("メルアド登録して終了します"));
        QCOMPARE(f->readEntries("addres.txt"),
                 (QStringList{"はは：haha@example.jp", "あに、ani@example.jp", "よしこ,yoshiko@example.jp"}));
    }

    void writeAndSendAMail()
    {
        auto f = started();
        TestTalkWindow &w = f->window();
        openAddressBookEntry(*f, 2); // よしこ
        QCOMPARE(w.txtTalk->text(), QStringLiteral("よしこ,yoshiko@example.jp"));
        // Heard first: reading leaves the marker after the address, which is no part of it.
        f->press(w.cmdRead);
        f->press(w.cmdRead);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("よしこ,yoshiko@example.jp_"));
        f->press(w.cmdBack); // 決定: the recipient
        QCOMPARE(f->program().decideBack.mailName(), QStringLiteral("よしこ"));
        QCOMPARE(f->program().decideBack.mailAddress(), QStringLiteral("yoshiko@example.jp"));
        QCOMPARE(CurrentMode(w), Mode::MailList);
        QCOMPARE(w.grdMail->textMatrix(1, 0), QStringLiteral("げんき？"));
        f->press(w.cmdDec); // row 0: a new mail
        QCOMPARE(CurrentMode(w), Mode::MailEntry);
        QVERIFY2(!w.txtTalk->text().contains(QStringLiteral("yoshiko")), qPrintable(w.txtTalk->text()));
        QCOMPARE(w.cmdSamp->text(), QStringLiteral("ﾒｰﾙ終了"));
        f->press(w.cmdRevise);
        f->typed(QStringLiteral("あしたは 5じ & ゆうしょく_"));
        f->answerOk(0);
        f->press(w.cmdSamp); // stored, and back on the board
        QCOMPARE(f->prompts.last(), QStringLiteral("メールを登録して終了します"));
        QCOMPARE(f->readEntries("mail.txt"), (QStringList{"あしたは 5じ & ゆうしょく_", "げんき？"}));
        QCOMPARE(w.txtTalk->text(), QStringLiteral("_"));

        // Open the stored mail again and hand it over.
        openAddressBookEntry(*f, 2);
        f->press(w.cmdBack);
        f->pressCell(w.grdMail, 1, 0);
        f->press(w.cmdDec);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("あしたは 5じ & ゆうしょく_"));
        QStringList seen;
        f->modal.answers.push_back([&](QDialog &d) {
            auto &m = static_cast<MailWindow &>(d);
            seen << m.windowTitle() << m.lblName->text() << m.lblMail->text() << m.lblTop->text()
                 << m.txtData->toPlainText();
            QVERIFY(!m.close()); // the title-bar close box does nothing
            m.cmdSend->click();
            m.cmdEnd->click();
        });
        f->press(w.cmdBack); // 決定: the mail window
        QCOMPARE(seen, (QStringList{"メール送信！", "よしこ", "yoshiko@example.jp", "あしたは 5じ & ",
                                    "あしたは 5じ & ゆうしょく_"}));
        QCOMPARE(f->shell.opened.size(), 1);
        const QByteArray link = f->shell.opened[0].toEncoded();
        QVERIFY2(link.startsWith("mailto:yoshiko@example.jp?subject="), link.constData());
        QVERIFY2(link.contains("%20%26"), link.constData());
        // The window shows the marker as the text box has it; the mail is sent without it.
        QCOMPARE(QUrl::fromPercentEncoding(link.mid(link.indexOf("&body=") + 6)),
                 QStringLiteral("あしたは 5じ & ゆうしょく"));
        QCOMPARE(CurrentMode(w), Mode::MailEntry);
    }

    void mailWindowLabelsAndAFailedHandOver()
    {
        auto f = started();
        TestTalkWindow &w = f->window();
        openAddressBookEntry(*f, 1);
        f->press(w.cmdBack);
        f->pressCell(w.grdMail, 1, 0);
        f->press(w.cmdDec);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("げんき？"));
        f->shell.accepts = false;
        f->modal.answers.push_back([&](QDialog &d) {
            auto &m = static_cast<MailWindow &>(d);
            f->answerOk(0);
            m.cmdSend->click(); // nothing takes it: the user is told, the window stays
            QCOMPARE(f->prompts.last(), QStringLiteral("メールソフトを開けませんでした。"));
            QVERIFY(!m.close());
            m.lblTop->clicked(); // back to the mail list
        });
        f->press(w.cmdBack);
        QCOMPARE(CurrentMode(w), Mode::MailList);
        f->press(w.cmdDec);
        // The label is pressed as assistive tools press it: a button named by its words.
        f->modal.answers.push_back([](QDialog &d) {
            auto &m = static_cast<MailWindow &>(d);
            m.show();
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(m.lblName);
            QCOMPARE(a->role(), QAccessible::Button);
            QCOMPARE(a->text(QAccessible::Name), m.lblName->text());
            a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QCoreApplication::processEvents();
        });
        f->press(w.cmdBack);
        QCOMPARE(CurrentMode(w), Mode::AddressList);
        QCOMPARE(w.cmdSamp->text(), QStringLiteral("ﾒﾙｱﾄﾞ終了"));
    }

    void backWithoutSeparatorChangesNothing()
    {
        auto f = started();
        TestTalkWindow &w = f->window();
        openAddressBookEntry(*f, 0);
        f->typed(QStringLiteral("だれか_"));
        f->answerOk(0);
        f->press(w.cmdBack);
        QCOMPARE(f->prompts.last(), QStringLiteral("名前、アドレスは、カンマで区切ってください。"));
        QCOMPARE(CurrentMode(w), Mode::AddressEntry);
        QCOMPARE(f->program().decideBack.mailAddress(), QString());
    }

    void emptyDiaryStillOffersToday()
    {
        auto f = started();
        f->writeEntries(QStringLiteral("day.txt"), {});
        TestTalkWindow &w = f->window();
        openMenuRow(*f, 0);
        QCOMPARE(w.grdDay->rows(), 1);
        f->press(w.cmdDec);
        f->typed(QStringLiteral("はじめて_"));
        f->answerOk(0);
        f->press(w.cmdSamp);
        QCOMPARE(f->readEntries("day.txt"), QStringList{"26.12.08 はじめて_"});
    }
};

QTEST_MAIN(TestDiaryMail)
#include "test_diarymail.moc"
