#include "entries/entryfiles.h"
#include "entries/entryformat.h"
#include "entries/entrylist.h"
#include "modes/kanaindexrows.h"
#include "platform/colors.h"
#include "support/talkfixture.h"

#include <QFile>
#include <QTest>

using EntryFormat::Placeholder;

// The lists the program keeps: rows with their heads, ordered and headed, and
// saved back to their files exactly as they were read.
class TestEntryList : public QObject
{
    Q_OBJECT

    // A list with a head beside each text, filled with texts.
    static std::unique_ptr<EntryList> headed(const QStringList &texts)
    {
        auto list = std::make_unique<EntryList>(EntryList::Shape::Headed);
        list->setTexts(texts);
        return list;
    }

    static QByteArray bytesOf(TalkFixture &f, const QString &name)
    {
        QFile file(f.entries.pathOf(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Writes a file's entries and reads back the bytes the program will find there.
    static QByteArray written(TalkFixture &f, const QString &name, const QStringList &entries)
    {
        f.writeEntries(name, entries);
        return bytesOf(f, name);
    }

private slots:
    void rowsCarryTheirHeads()
    {
        EntryList list(EntryList::Shape::Headed);
        list.setTexts({"かさ", "あした", "さくら"});
        QCOMPARE(list.rows(), 3);
        QCOMPARE(list.heads(), (QStringList{"", "", ""}));
        list.setHead(0, "か行");
        list.setHead(1, "あ行");
        list.sortByText();
        QCOMPARE(list.texts(), (QStringList{"あした", "かさ", "さくら"}));
        QCOMPARE(list.heads(), (QStringList{"あ行", "か行", ""}));
        list.moveRow(2, 0);
        QCOMPARE(list.text(0), QStringLiteral("さくら"));
        QCOMPARE(list.head(1), QStringLiteral("あ行"));
        // The grid shows the head beside the text.
        QCOMPARE(list.cells().cell(1, 0).text, QStringLiteral("あ行"));
        QCOMPARE(list.cells().cell(1, 1).text, QStringLiteral("あした"));
        // Outside the list nothing is read or changed.
        list.setText(3, "x");
        list.setHead(-1, "x");
        QCOMPARE(list.text(3), QString());
        QCOMPARE(list.head(-1), QString());
        QCOMPARE(list.rows(), 3);
        list.append("ん", "わ行");
        QCOMPARE(list.text(3), QStringLiteral("ん"));
        QCOMPARE(list.head(3), QStringLiteral("わ行"));

        EntryList plain(EntryList::Shape::Plain);
        plain.setTexts({"げんき？"});
        plain.setHead(0, "あ行");
        QCOMPARE(plain.head(0), QString());
        QCOMPARE(plain.cells().cols(), 1);
        QCOMPARE(plain.cells().cell(0, 0).text, QStringLiteral("げんき？"));
    }

    void headRowsReplaceTheHeadsBefore()
    {
        auto listRows = headed({"あ", "い", "か", "き", "さ"});
        EntryList &list = *listRows;
        list.setHeadRows({{0, "あ行"}, {2, "か行"}, {4, "さ行"}});
        QCOMPARE(list.heads(), (QStringList{"あ行", "", "か行", "", "さ行"}));
        list.setHeadRows({{1, "い"}});
        QCOMPARE(list.heads(), (QStringList{"", "い", "", "", ""}));
        QCOMPARE(list.firstChars(), QStringLiteral("あいかきさ"));
    }

    void theDiaryIsNewestFirst()
    {
        EntryList diary(EntryList::Shape::Headed);
        diary.setRows(4);
        const QStringList dates = {"26.11.30", "", "26.12.08", "26.11.30"};
        const QStringList texts = {"さむい", "日付のない行", "きょう", "ゆき"};
        for (int r = 0; r < 4; ++r) {
            diary.setHead(r, dates[r]);
            diary.setText(r, texts[r]);
        }
        diary.sortByHeadDescending();
        QCOMPARE(diary.heads(), (QStringList{"26.12.08", "26.11.30", "26.11.30", ""}));
        QCOMPARE(diary.texts(), (QStringList{"きょう", "さむい", "ゆき", "日付のない行"}));
    }

    void findsATextWithoutItsSpaces()
    {
        const auto listRows = headed({"日記", "メール", " ありがとう ", "ありがとうね", "ありがとう"});
        const EntryList &list = *listRows;
        QCOMPARE(list.findTrimmed("ありがとう"), 2);
        QCOMPARE(list.findTrimmed("ありがとう", 3), 4);
        QCOMPARE(list.findTrimmed("ありがと"), -1);
        QCOMPARE(list.findTrimmed("日記", EntryFormat::FirstSentenceRow), -1);
    }

    void revisionAndMenuRows()
    {
        auto listRows = headed({Placeholder, Placeholder, "あ"});
        EntryList &list = *listRows;
        const quint64 before = list.revision();
        list.texts();
        list.findTrimmed("あ");
        QCOMPARE(list.revision(), before);
        list.setText(2, "い");
        QVERIFY(list.revision() != before);
        const quint64 edited = list.revision();
        list.moveRow(2, 0);
        QVERIFY(list.revision() != edited);

        list.setMenuRows(2);
        QCOMPARE(list.menuRows(), 2);
        list.setRows(1);
        QCOMPARE(list.menuRows(), 1);
        list.setMenuRows(1);
        list.setTexts({"a", "b"}); // filled anew: no menu
        QCOMPARE(list.menuRows(), 0);
    }

    void everyListHasItsPlace()
    {
        EntryLists lists;
        QCOMPARE(lists.of(ListId::None), nullptr);
        QCOMPARE(lists.of(ListId::Examples), &lists.examples);
        QCOMPARE(lists.of(ListId::Diary), &lists.diary);
        QCOMPARE(lists.of(ListId::Addresses), &lists.addresses);
        QCOMPARE(lists.of(ListId::Mails), &lists.mails);
        QCOMPARE(lists.of(ListId::Suggestions), &lists.suggestions);
        QCOMPARE(lists.suggestions.cells().cols(), 1);
        QCOMPARE(lists.mails.cells().cols(), 1);
        QCOMPARE(lists.diary.cells().cols(), 2);
    }

    void examplesAreOrderedAndHeadedWithTheirMenuRowsOnTop()
    {
        // Placeholder lines anywhere, one missing; a sentence that reads like a menu row.
        auto examplesRows = headed({"さくら", Placeholder, "日記", "かさ", "あした"});
        EntryList &examples = *examplesRows;
        IndexExamples(examples, {});
        QCOMPARE(examples.texts(), (QStringList{"日記", "メール", "あした", "かさ", "さくら", "日記"}));
        // The menu row's head comes from the file's line it stands for, as it always did.
        QCOMPARE(examples.heads(), (QStringList{"あ行", "", "", "か行", "さ行", ""}));
        QCOMPARE(examples.menuRows(), 2);
        QCOMPARE(examples.findTrimmed(Placeholder), -1);
        // Indexed again (the kanji option changed while the list is shown), nothing is added or moved.
        const QStringList texts = examples.texts();
        const QStringList heads = examples.heads();
        IndexExamples(examples, {});
        QCOMPARE(examples.texts(), texts);
        QCOMPARE(examples.heads(), heads);
    }

    void kanjiSentencesSortByTheirReading()
    {
        auto examplesRows =
            headed({Placeholder, Placeholder, "すみません", "看護師さん", "ありがとう", "漢字"});
        EntryList &examples = *examplesRows;
        const auto readingOf = [](const QString &s) {
            return s == QStringLiteral("看護師さん") ? QStringLiteral("かんごしさん") : QString();
        };
        IndexExamples(examples, readingOf);
        QCOMPARE(examples.texts(),
                 (QStringList{"日記", "メール", "ありがとう", "看護師さん", "すみません", "漢字"}));
        QCOMPARE(examples.heads(), (QStringList{"あ行", "", "", "か行", "さ行", ""}));
        IndexExamples(examples, readingOf);
        QCOMPARE(examples.texts(),
                 (QStringList{"日記", "メール", "ありがとう", "看護師さん", "すみません", "漢字"}));
    }

    void addressesAreOrderedAndHeaded()
    {
        auto addressesRows = headed({"", "よしこ,yoshiko@example.jp", "あに、ani@example.jp"});
        EntryList &addresses = *addressesRows;
        IndexAddresses(addresses);
        QCOMPARE(addresses.texts(), (QStringList{"", "あに、ani@example.jp", "よしこ,yoshiko@example.jp"}));
        QCOMPARE(addresses.heads(), (QStringList{"", "あ行", "や行"}));
    }

    void aGridShowsTheListsCells()
    {
        auto listRows = headed({"あ", "い", "う"});
        EntryList &list = *listRows;
        Grid grid(nullptr);
        grid.setRows(5);
        grid.showCells(&list.cells());
        QCOMPARE(grid.rows(), 3);
        QCOMPARE(grid.textMatrix(1, 1), QStringLiteral("い"));
        grid.setChosenRow(2, 1);
        list.setRows(2); // the chosen row went with the rows
        QCOMPARE(grid.chosenRow(), -1);
        list.setText(0, "か");
        QCOMPARE(grid.textMatrix(0, 1), QStringLiteral("か"));
        grid.showCells(nullptr);
        QCOMPARE(grid.rows(), 5);
        QCOMPARE(list.rows(), 2);
    }

    void savesWriteTheFilesBackByteForByte()
    {
        TalkFixture f({}, false);
        const QByteArray talk = written(
            f, EntryFiles::Samples, {Placeholder, Placeholder, "あした", "かさ", "さくら", "日記", "漢字"});
        const QByteArray diary =
            written(f, EntryFiles::Diary, {"26.12.08 きょう", "26.11.30 さむい", "日付なし"});
        const QByteArray addresses =
            written(f, EntryFiles::Addresses, {"あに、ani@example.jp", "よしこ,yoshiko@example.jp"});
        const QByteArray mails = written(f, EntryFiles::Mails, {"げんき？", "またね"});
        QVERIFY(f.start());
        TalkProgram &p = f.program();

        // The heads and the menu captions are never written: the file keeps its placeholders.
        QCOMPARE(p.lists.examples.text(0), EntryFormat::DiaryRow);
        QVERIFY(p.files.SaveSampleFile());
        QCOMPARE(bytesOf(f, EntryFiles::Samples), talk);

        p.files.LoadDiaryFile();
        p.files.SortDiaryList();
        QCOMPARE(p.lists.diary.heads(), (QStringList{"26.12.08", "26.11.30", ""}));
        f.shared().state.setEditRow(0);
        QVERIFY(p.files.SaveDiaryFile("きょう"));
        QCOMPARE(bytesOf(f, EntryFiles::Diary), diary);

        p.files.LoadAddressFile();
        p.indexRows.IndexAddressRows();
        QCOMPARE(p.lists.addresses.head(1), QStringLiteral("あ行"));
        f.shared().state.setEditRow(0); // the empty row for a new address stays empty
        QVERIFY(p.files.SaveAddressFile(QString()));
        QCOMPARE(bytesOf(f, EntryFiles::Addresses), addresses);

        p.files.LoadMailFile();
        f.shared().state.setEditRow(2);
        QVERIFY(p.files.SaveMailFile("またね"));
        QCOMPARE(bytesOf(f, EntryFiles::Mails), mails);
    }

    void kanjiSwitchedOnWhileTheListIsOpenAddsNoSentence()
    {
        TalkFixture f({{"OPT1", "2"}}, false);
        f.writeEntries(EntryFiles::Samples, {Placeholder, Placeholder, "あした", "かさ"});
        QVERIFY(f.start());
        TestTalkWindow &w = f.window();
        f.press(w.cmdSamp);
        // As the options dialog applies it: the rows are ordered and headed by reading from now on.
        f.shared().settings.Kanji = QStringLiteral("1");
        f.program().lifetime.optionsApplied();
        QCOMPARE(f.program().lists.examples.texts(), (QStringList{"日記", "メール", "あした", "かさ"}));
        // A save after it writes the menu rows as the file's lines, never as sentences.
        f.pressCell(w.grdEx, 3, 1);
        f.answerOk(0);
        f.press(w.cmdSampDel);
        QCOMPARE(f.readEntries(EntryFiles::Samples), (QStringList{Placeholder, Placeholder, "あした"}));
    }

    // The list sorted anew under a chosen sentence (heads by reading switched on) keeps that sentence
    // chosen: a delete after it takes what the user chose, not what moved into its row.
    void aListSortedAnewKeepsTheChosenSentence()
    {
        TalkFixture f({{"OPT1", "2"}}, false);
        f.writeEntries(EntryFiles::Samples, {Placeholder, Placeholder, "いす", "雨"});
        QVERIFY(f.start());
        TestTalkWindow &w = f.window();
        f.press(w.cmdSamp);
        QCOMPARE(f.program().lists.examples.texts(), (QStringList{"日記", "メール", "いす", "雨"}));
        f.pressCell(w.grdEx, 2, 1); // いす
        f.shared().settings.Kanji = QStringLiteral("1");
        f.program().lifetime.optionsApplied();
        if (f.program().lists.examples.text(2) != QStringLiteral("雨"))
            QSKIP("no reading dictionary here: the order does not change");
        QCOMPARE(f.shared().state.listRow(), 3);
        QCOMPARE(w.grdEx->cellBackColor(3, 1), Colors::LightGreen);
        QCOMPARE(w.grdEx->cellBackColor(2, 1), Colors::White);
        f.answerOk(0);
        f.press(w.cmdSampDel);
        QCOMPARE(f.readEntries(EntryFiles::Samples), (QStringList{Placeholder, Placeholder, "雨"}));
    }

    // The file changed on disk while the program ran (a carer's editor): registering and deleting
    // keep what it holds now, and a delete takes the chosen sentence wherever it now stands.
    void registeringAndDeletingKeepWhatTheFileGainedMeanwhile()
    {
        TalkFixture f({{"OPT1", "2"}}, false);
        f.writeEntries(EntryFiles::Samples, {Placeholder, Placeholder, "あした", "かさ"});
        QVERIFY(f.start());
        TestTalkWindow &w = f.window();
        f.writeEntries(EntryFiles::Samples, {Placeholder, Placeholder, "あした", "かさ", "おちゃ"});
        f.typed(QStringLiteral("みず_"));
        f.press(w.cmdSampADD);
        QCOMPARE(f.readEntries(EntryFiles::Samples),
                 (QStringList{Placeholder, Placeholder, "あした", "おちゃ", "かさ", "みず"}));
        QCOMPARE(w.grdEx->textMatrix(f.shared().state.listRow(), 1), QStringLiteral("みず"));

        f.pressCell(w.grdEx, 4, 1); // かさ
        f.writeEntries(EntryFiles::Samples, {Placeholder, Placeholder, "あめ", "かさ", "みず"});
        f.answerOk(0);
        f.press(w.cmdSampDel);
        QCOMPARE(f.readEntries(EntryFiles::Samples), (QStringList{Placeholder, Placeholder, "あめ", "みず"}));
        QCOMPARE(w.grdEx->cellBackColor(4, 1), Colors::White);
        QVERIFY(!f.shared().SampleTexts->contains(QStringLiteral("かさ")));
        QVERIFY(f.shared().SampleTexts->contains(QStringLiteral("あめ")));

        // Gone from the file meanwhile: nothing else is deleted in its place.
        f.pressCell(w.grdEx, 2, 1); // あめ
        f.writeEntries(EntryFiles::Samples, {Placeholder, Placeholder, "みず"});
        f.answerOk(0);
        f.press(w.cmdSampDel);
        QCOMPARE(f.readEntries(EntryFiles::Samples), (QStringList{Placeholder, Placeholder, "みず"}));
    }

    void deletingEmptiesTheRowAndTheFileLine()
    {
        TalkFixture f({{"OPT1", "2"}}, false);
        f.writeEntries(EntryFiles::Samples, {Placeholder, Placeholder, "あした", "かさ"});
        const QByteArray after = written(f, "expected.txt", {Placeholder, Placeholder, "かさ"});
        QVERIFY(f.start());
        TestTalkWindow &w = f.window();
        f.press(w.cmdSamp);
        f.pressCell(w.grdEx, 2, 1);
        f.answerOk(0);
        f.press(w.cmdSampDel);
        QCOMPARE(f.program().lists.examples.text(2), QString());
        QCOMPARE(bytesOf(f, EntryFiles::Samples), after);
        // A failed save puts the sentence back in its row.
        f.pressCell(w.grdEx, 3, 1);
        f.answerOk(0);
        f.entries.failNextWrite();
        f.answerOk(0); // the notice
        f.press(w.cmdSampDel);
        QCOMPARE(f.program().lists.examples.text(3), QStringLiteral("かさ"));
        QCOMPARE(f.readEntries(EntryFiles::Samples), (QStringList{Placeholder, Placeholder, "かさ"}));
    }
};

QTEST_MAIN(TestEntryList)
#include "test_entrylist.moc"
