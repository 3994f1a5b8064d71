#include "entries/entryformat.h"
#include "platform/entrystorage.h"
#include "platform/textcodec.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace EntryFormat;

class TestEntryFormat : public QObject
{
    Q_OBJECT

    static QByteArray fileBytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void readingLines()
    {
        const QString text =
            QStringLiteral("\"あいう\"\r\n\r\n   \r\n\" \"\r\n\"a\"\"b\"\rlast\"\r\nin\nline\r\n");
        // Blank lines go; a quote-only line is kept as an empty entry; every quote goes;
        // CR alone ends a line, LF alone does not.
        QCOMPARE(parseLines(text), (QStringList{"あいう", " ", "ab", "last", "in\nline"}));
        QCOMPARE(parseLines(QString()), QStringList());
    }

    void writingLines()
    {
        QCOMPARE(fileText({"a", "say \"hi\""}), QStringLiteral("\"a\"\r\n\"say \"hi\"\"\r\n"));
        // A quote inside an entry is gone after one save and reload.
        QCOMPARE(parseLines(fileText({"say \"hi\""})), QStringList{"say hi"});
    }

    void examplesKeepTheirPlaceholders()
    {
        QCOMPARE(sampleEntries({"日記", " メール ", "", "  ", " あい "}),
                 (QStringList{Placeholder, Placeholder, " あい "}));
    }

    void diaryLines()
    {
        QCOMPARE(diaryDate(QDate(2004, 1, 15)), QStringLiteral("04.01.15"));
        QCOMPARE(diaryDateOf(QStringLiteral("04.01.15 きょうは ")), QStringLiteral("04.01.15"));
        QCOMPARE(diaryTextOf(QStringLiteral("04.01.15 きょうは ")), QStringLiteral("きょうは"));
        QCOMPARE(diaryEntries({"26.12.08", "26.12.01"}, {"", "old"}, 0, "new_"),
                 (QStringList{"26.12.08 new_", "26.12.01 old"}));
        // An empty entry is still written, as its date and a space.
        QCOMPARE(diaryEntries({"26.12.08"}, {""}, 5, "dropped"), QStringList{"26.12.08 "});
    }

    void addressesAndMails()
    {
        // The open entry loses a final marker; other rows lose it or are trimmed.
        QCOMPARE(addressEntries({"", " a,b ", "c,d_", ""}, 0, "new,x_"),
                 (QStringList{"new,x", "a,b", "c,d"}));
        QCOMPARE(addressEntries({"", "a,b"}, 1, "  "), QStringList{});
        QCOMPARE(mailEntries({"", " body_ ", "gone"}, 2, " "), QStringList{" body_ "});
        QCOMPARE(mailEntries({"", "x"}, 0, "new_"), (QStringList{"new_", "x"}));
        QCOMPARE(mailEntries({"", "x"}, 9, "dropped"), QStringList{"x"});
    }

    void storedFormOfTheText()
    {
        QCOMPARE(storedForm(QStringLiteral("あい_")), QStringLiteral("あい"));
        QCOMPARE(storedForm(QStringLiteral("  あい_")), QStringLiteral("あい"));
        QCOMPARE(storedForm(QStringLiteral(" あい ")), QStringLiteral("あい"));
        QCOMPARE(storedForm(QStringLiteral("a_b")), QStringLiteral("a_b"));
        QCOMPARE(starterSentences().size() >= 45, true);
    }

    void codePage932AndUtf8()
    {
        // 0x81 0x60 is the full-width tilde in Windows-31J, not the wave dash.
        QCOMPARE(*TextCodec::decode(QByteArray("\x81\x60\x82\xa0", 4)), QStringLiteral("～あ"));
        QCOMPARE(TextCodec::encode(QStringLiteral("～あ")), QByteArray("\x81\x60\x82\xa0", 4));
        // What code page 932 cannot hold is written as UTF-8 with a mark, and read back whole.
        const QString emoji = QStringLiteral("ありがとう😀𠮷");
        const QByteArray bytes = TextCodec::encode(emoji);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(*TextCodec::decode(bytes), emoji);
        QVERIFY(!TextCodec::decode(QByteArray("\xFF\xFF\xFE", 3)));
    }

    void filesRoundTripAndSurviveAFailedSave()
    {
        QTemporaryDir dir;
        FolderEntryStorage storage(dir.path());
        QString error;
        QVERIFY(
            storage.write(QStringLiteral("Talk.txt"), fileText({Placeholder, Placeholder, "あい"}), &error));
        const QByteArray before = fileBytes(dir.filePath(QStringLiteral("Talk.txt")));
        QVERIFY(before.endsWith("\"\r\n"));
        QVERIFY(!before.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(parseLines(storage.read(QStringLiteral("Talk.txt")).text),
                 (QStringList{Placeholder, Placeholder, "あい"}));

        storage.failNextWrite();
        QVERIFY(!storage.write(QStringLiteral("Talk.txt"), fileText({"other"}), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(fileBytes(dir.filePath(QStringLiteral("Talk.txt"))), before);
        QCOMPARE(dir.filePath(QStringLiteral("Talk.txt")), storage.pathOf(QStringLiteral("Talk.txt")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Talk.txt"}); // no temporary left
    }

    void unreadableFileIsNeverOverwritten()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("mail.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\xFF\xFF\xFE garbage");
        f.close();
        FolderEntryStorage storage(dir.path());
        const EntryStorage::Read r = storage.read(QStringLiteral("mail.txt"));
        QVERIFY(r.exists && !r.ok && !r.error.isEmpty());
        QString error;
        QVERIFY(!storage.write(QStringLiteral("mail.txt"), QStringLiteral("x"), &error));
        QCOMPARE(fileBytes(dir.filePath(QStringLiteral("mail.txt"))), QByteArray("\xFF\xFF\xFE garbage"));
        QVERIFY(!storage.read(QStringLiteral("none.txt")).exists);
    }
};

QTEST_MAIN(TestEntryFormat)
#include "test_entryformat.moc"
