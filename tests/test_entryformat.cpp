#include "entries/entryformat.h"
#include "platform/entrystorage.h"
#include "platform/filefailure.h"
#include "platform/textcodec.h"
#include "support/failingstorage.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace EntryFormat;

// A disk that keeps no permissions (a memory stick) refuses to change them: while this is set, so does
// every chmod of this test.
static bool refuseChmod = false;

extern "C" int fchmod(int fd, mode_t mode)
{
    if (refuseChmod) {
        errno = EPERM;
        return -1;
    }
    return fchmodat(AT_FDCWD, QByteArray("/proc/self/fd/" + QByteArray::number(fd)).constData(), mode, 0);
}

extern "C" int chmod(const char *path, mode_t mode)
{
    if (refuseChmod) {
        errno = EPERM;
        return -1;
    }
    return fchmodat(AT_FDCWD, path, mode, 0);
}

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
        const QString text = QStringLiteral(
            "\"あいう\"\r\n\r\n   \r\n\" \"\r\n\"a\"\"b\"\rlast\"\r\nin\nline\r\n\"two\nlines\"\r\n");
        // Blank lines go; a quote-only line is kept as an empty entry; every quote goes;
        // CR LF, CR and LF end a line, but an LF inside an open quote is part of the entry.
        QCOMPARE(parseLines(text), (QStringList{"あいう", " ", "ab", "last", "in", "line", "two\nlines"}));
        QCOMPARE(parseLines(QString()), QStringList());
        // A file edited on Linux: many LF-ended lines are many entries.
        QStringList many;
        QString lf;
        for (int i = 0; i < 52; ++i) {
            many << QStringLiteral("れいぶん%1").arg(i);
            lf += QStringLiteral("\"れいぶん%1\"\n").arg(i);
        }
        QCOMPARE(parseLines(lf), many);
        QCOMPARE(parseLines(QStringLiteral("plain\nlines\n")), (QStringList{"plain", "lines"}));
        // What the program writes for a two-line text reads back as one entry.
        const QStringList mails = {"", "きょうは\nありがとう_", "next"};
        QCOMPARE(parseLines(fileText(mails)), mails);
        QCOMPARE(parseLines(QStringLiteral("\"unclosed\nat the end")), QStringList{"unclosed\nat the end"});
    }

    void writingLines()
    {
        // A quote the user wrote is kept in its full-width form: the file's own quotes are dropped
        // when it is read, and a line ending in one would have closed a two-line entry early.
        QCOMPARE(fileText({"a", "say \"hi\""}), QStringLiteral("\"a\"\r\n\"say ＂hi＂\"\r\n"));
        QCOMPARE(parseLines(fileText({"say \"hi\"", "line \"\nnext"})),
                 (QStringList{"say ＂hi＂", "line ＂\nnext"}));
    }

    void examplesKeepTheirPlaceholders()
    {
        QCOMPARE(sampleEntries({"日記", " メール ", "", "  ", " あい "}),
                 (QStringList{Placeholder, Placeholder, " あい "}));
        // Only the menu rows' places hold the placeholder: the words are sentences elsewhere.
        QCOMPARE(sampleEntries({Placeholder, Placeholder, "メール", " 日記", "あい"}),
                 (QStringList{Placeholder, Placeholder, "メール", " 日記", "あい"}));
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
        // Lines of another shape are shown and written back as they stand.
        for (const QString &odd :
             {QStringLiteral("26.12.08くぎりなし"), QStringLiteral("日付のない日記の行です"),
              QStringLiteral("２６.１２.０８ ぜんかく"), QStringLiteral(" 26.12.08 まえに空白")}) {
            QCOMPARE(diaryDateOf(odd), QString());
            QCOMPARE(diaryTextOf(odd), odd);
            QCOMPARE(diaryEntries({diaryDateOf(odd), "26.12.01"}, {diaryTextOf(odd), "old"}, 9, ""),
                     (QStringList{odd, "26.12.01 old"}));
        }
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
        using TextCodec::Encoding;
        const auto decoded = [](const QByteArray &bytes) { return TextCodec::decode(bytes).value().text; };
        const auto encodingOf = [](const QByteArray &bytes) {
            return TextCodec::decode(bytes).value().encoding;
        };
        // 0x81 0x60 is the full-width tilde in Windows-31J, not the wave dash.
        QCOMPARE(decoded(QByteArray("\x81\x60\x82\xa0", 4)), QStringLiteral("～あ"));
        QCOMPARE(TextCodec::encode(QStringLiteral("～あ")), QByteArray("\x81\x60\x82\xa0", 4));
        // What code page 932 cannot hold is written as UTF-8 with a mark, and read back whole.
        const QString emoji = QStringLiteral("ありがとう😀𠮷");
        const QByteArray bytes = TextCodec::encode(emoji);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(decoded(bytes), emoji);
        QCOMPARE(encodingOf(bytes), Encoding::Utf8WithBom);
        QVERIFY(!TextCodec::decode(QByteArray("\xFF\xFF\xFE", 3)));

        // UTF-8 without a mark that also happens to be valid Windows-31J is read as UTF-8.
        const QString address = QStringLiteral("山田、yamada@example.jp");
        QCOMPARE(decoded(address.toUtf8()), address);
        QCOMPARE(encodingOf(address.toUtf8()), Encoding::Utf8);
        QCOMPARE(encodingOf(QByteArray("plain ascii")), Encoding::CodePage932);
        // Each file keeps its own encoding where it can hold the text.
        QCOMPARE(TextCodec::encode(address, Encoding::Utf8), address.toUtf8());
        QCOMPARE(TextCodec::encode(emoji, Encoding::Utf8WithBom), bytes);

        // Bytes valid both ways go to the reading that looks like Japanese: half-width kana
        // in code page 932 are valid UTF-8 as "ò" (and a save would make that permanent).
        const QByteArray diary("\"26.12.08 \xC3\xB2\"\r\n", 15);
        QCOMPARE(decoded(diary), QStringLiteral("\"26.12.08 ﾃｲ\"\r\n"));
        QCOMPARE(encodingOf(diary), Encoding::CodePage932);
        QCOMPARE(encodingOf(QStringLiteral("ありがとう、日本").toUtf8()), Encoding::Utf8);
        // Whatever the program writes reads back as it was, in the encoding it was written in
        // or, where that reading would be taken for the other one, with a mark.
        for (char16_t a = u'｡'; a <= u'ﾟ'; ++a) {
            for (char16_t b = u'｡'; b <= u'ﾟ'; b += 3) {
                const QString text =
                    QStringLiteral("26.12.08 ") + QChar(a) + QChar(b) + QStringLiteral("\r\n");
                for (const Encoding e : {Encoding::CodePage932, Encoding::Utf8}) {
                    const auto back = TextCodec::decode(TextCodec::encode(text, e));
                    QVERIFY(back && back->text == text);
                    QVERIFY(back->encoding == e || back->encoding == Encoding::Utf8WithBom);
                }
            }
        }
        QCOMPARE(encodingOf(TextCodec::encode(QStringLiteral("ﾃｲ"))), Encoding::CodePage932);

        // A character cut off at the very end is an error in every encoding, never dropped.
        for (const QByteArray &cut : {QByteArray("\x82\xa0\x82", 3), QByteArray("\xE3\x81\x82\xE3\x81", 5),
                                      QByteArray("\xEF\xBB\xBF\xE3\x81\x82\xE3", 7)})
            QVERIFY2(!TextCodec::decode(cut), cut.toHex().constData());
    }

    // UTF-8 without a mark whose bytes also read as code page 932: kanji that only UTF-8
    // holds, and a guess that stays the same whatever was read before it.
    void utf8ThatAlsoReadsAsCodePage932()
    {
        using TextCodec::Encoding;
        const QStringList texts = {QStringLiteral("頰"),         QStringLiteral("頰\r\n"),
                                   QStringLiteral("\"頰\"\r\n"), QStringLiteral("鷗a"),
                                   QStringLiteral("鷗を"),       QStringLiteral("あ鷗外ア"),
                                   QStringLiteral("剝ぐ"),       QStringLiteral("剝製"),
                                   QStringLiteral("日本"),       QStringLiteral("日本\r\n")};
        const auto check = [&texts](const char *when) {
            for (const QString &t : texts) {
                const QByteArray bytes = t.toUtf8();
                const auto d = TextCodec::decode(bytes);
                QVERIFY2(d && d->text == t && d->encoding == Encoding::Utf8,
                         qPrintable(QStringLiteral("%1 %2").arg(t, QLatin1String(when))));
            }
        };
        // Each one would be read, too, as code page 932: the guess is what is tested.
        for (const QString &t : texts) {
            QStringDecoder d("windows-31j", QStringConverter::Flag::Stateless);
            QString(d(t.toUtf8()));
            QVERIFY2(!d.hasError(), qPrintable(t));
        }
        check("first");
        // A kanji code page 932 lacks once left every later kanji scored as rare.
        QCOMPARE(TextCodec::decode(QStringLiteral("頰\r\n").toUtf8())->encoding, Encoding::Utf8);
        QCOMPARE(TextCodec::encode(QStringLiteral("頰")), QByteArray("\xEF\xBB\xBF\xE9\xA0\xB0", 6));
        check("after a kanji code page 932 lacks");
        // Code page 932 in half-width kana still reads as code page 932.
        QCOMPARE(TextCodec::decode(QByteArray("\xC3\xB2\xB1\xB2", 4))->encoding, Encoding::CodePage932);
    }

    // The quick tables read and write every character of code page 932 as the system's converter does.
    void codePage932AsTheConverterHasIt()
    {
        QByteArray bytes("\x82\xa0", 2); // not UTF-8, so the whole is read as code page 932
        for (int b = 1; b < 0x100; ++b) {
            for (int t = b >= 0x80 ? 0x40 : 0x100; t < 0x101; ++t) {
                const QByteArray one = t == 0x100 ? QByteArray(1, char(b)) : QByteArray(1, char(b)) + char(t);
                QStringDecoder icu("windows-31j", QStringConverter::Flag::Stateless);
                if (QString(icu(one)).size() == 1 && !icu.hasError())
                    bytes += one;
            }
        }
        QStringDecoder icu("windows-31j", QStringConverter::Flag::Stateless);
        const QString text = QString(icu(bytes));
        QVERIFY2(text.size() > 7000, qPrintable(QString::number(text.size())));
        QCOMPARE(TextCodec::decode(bytes)->text, text);
        QStringEncoder toIcu("windows-31j", QStringConverter::Flag::Stateless);
        QCOMPARE(TextCodec::encode(text), QByteArray(toIcu(text)));
        // A byte that only begins a pair, and one that is none, make the whole unreadable.
        QVERIFY(!TextCodec::decode(QByteArray("\x82\xa0\x82\x0a", 4)));
        QVERIFY(!TextCodec::decode(QByteArray("\x82\xa0\xfd\x41", 4)));
    }

    void filesRoundTripAndSurviveAFailedSave()
    {
        QTemporaryDir dir;
        FailingEntryStorage storage(dir.path());
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

    // The diary, the mails and the addresses are the user's alone; a file a carer shares keeps its
    // permissions.
    void whatTheProgramMakesIsTheUsersAlone()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("Pirokan"));
        FolderEntryStorage storage(folder);
        QString error;
        QVERIFY(storage.write(QStringLiteral("day.txt"), fileText({"2026/12/10 寒い"}), &error));
        constexpr auto UserOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        constexpr int Mask = 0x7077; // the owner's, the group's and the others' bits
        QCOMPARE(QFile::permissions(folder) & Mask, UserOnly | QFileDevice::ExeOwner);
        QCOMPARE(QFile::permissions(storage.pathOf(QStringLiteral("day.txt"))) & Mask, UserOnly);

        const QString carers = dir.filePath(QStringLiteral("carers"));
        const auto open = UserOnly | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther;
        QVERIFY(QDir().mkpath(carers) && QFile::setPermissions(carers, open));
        const QString shared = QDir(carers).filePath(QStringLiteral("Talk.txt"));
        QFile f(shared);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const auto readable = UserOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        QVERIFY(QFile::setPermissions(shared, readable));
        FolderEntryStorage beside(carers);
        QVERIFY(beside.write(QStringLiteral("Talk.txt"), fileText({"あい"}), &error));
        QCOMPARE(QFile::permissions(shared) & Mask, readable);
        QCOMPARE(QFile::permissions(carers) & Mask, open);

        // Where permissions cannot be set, the words are saved all the same.
        refuseChmod = true;
        const auto allow = qScopeGuard([] { refuseChmod = false; });
        FolderEntryStorage stick(dir.filePath(QStringLiteral("stick")));
        QVERIFY2(stick.write(QStringLiteral("mail.txt"), fileText({"あい"}), &error), qPrintable(error));
        QCOMPARE(parseLines(stick.read(QStringLiteral("mail.txt")).text), QStringList{"あい"});
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

        // Moved away by a carer: the next read finds no file, and a save makes it anew.
        QVERIFY(
            QFile::rename(dir.filePath(QStringLiteral("mail.txt")), dir.filePath(QStringLiteral("bad.txt"))));
        QVERIFY(!storage.read(QStringLiteral("mail.txt")).exists);
        QVERIFY2(storage.write(QStringLiteral("mail.txt"), QStringLiteral("x"), &error), qPrintable(error));
    }

    void aLargeFileIsReadWholeAndTheUserToldOnce()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("Talk.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QByteArray line("\"0123456789abcdef\"\r\n");
        const int lines = 17 * 1024 * 1024 / int(line.size()) + 1;
        for (int i = 0; i < lines; ++i)
            f.write(line);
        f.close();
        FolderEntryStorage storage(dir.path());
        const EntryStorage::Read r = storage.read(QStringLiteral("Talk.txt"));
        QVERIFY(r.ok);
        QVERIFY(r.warning.contains(QStringLiteral("Talk.txt")) &&
                r.warning.contains(QStringLiteral("17 MB")));
        const QStringList entries = parseLines(r.text);
        QCOMPARE(entries.size(), lines);
        QCOMPARE(entries.back(), QStringLiteral("0123456789abcdef"));
        QVERIFY(storage.read(QStringLiteral("Talk.txt")).warning.isEmpty());
    }

    void eachFileKeepsItsEncodingAndTheCopiesBesideItStay()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("addres.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("\"山田、yamada@example.jp\"\n").toUtf8());
        f.close();
        // A carer's copies look like what a killed save leaves; they are not the program's to remove.
        const QStringList copies{"Talk.txt.AbCdEf", "addres.txt.backup", "day.txt.x1Y2z3"};
        for (const QString &copy : copies)
            QFile(dir.filePath(copy)).open(QIODevice::WriteOnly);
        FolderEntryStorage storage(dir.path());
        const EntryStorage::Read r = storage.read(QStringLiteral("addres.txt"));
        QCOMPARE(parseLines(r.text), QStringList{"山田、yamada@example.jp"});
        QString error;
        QVERIFY(storage.write(QStringLiteral("addres.txt"),
                              fileText({"山田、yamada@example.jp", "鈴木,s@x.jp"}), &error));
        QCOMPARE(fileBytes(f.fileName()),
                 QStringLiteral("\"山田、yamada@example.jp\"\r\n\"鈴木,s@x.jp\"\r\n").toUtf8());
        for (const QString &copy : copies)
            QVERIFY2(QFile::exists(dir.filePath(copy)), qPrintable(copy));
    }

    void saveFailuresSayWhatHappenedInJapanese()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        // A folder that cannot be made, even by root: it would lie under a file.
        FolderEntryStorage storage(dir.filePath(QStringLiteral("file/Pirokan")));
        QString error;
        QVERIFY(!storage.write(QStringLiteral("Talk.txt"), fileText({"あ"}), &error));
        QVERIFY2(error.startsWith(QStringLiteral("「Talk.txt」を保存できませんでした。フォルダー")),
                 qPrintable(error));
        QVERIFY2(
            error.contains(QStringLiteral("\nフォルダー：") + QDir::toNativeSeparators(storage.folder())),
            qPrintable(error));
        QVERIFY2(!error.contains(QStringLiteral("前の内容")), qPrintable(error)); // there was none
        QVERIFY(!error.contains(QStringLiteral("No such")));
        // A device that gives no reason of its own still leaves the system's in the log.
        const QFile quiet;
        QCOMPARE(FileFailure::systemCause(quiet, ENOSPC), QString::fromLocal8Bit(std::strerror(ENOSPC)));
        QVERIFY(FileFailure::causeForUser(quiet, ENOSPC).contains(QStringLiteral("ディスクがいっぱい")));

        QVERIFY(!storage.read(QStringLiteral("Talk.txt")).exists);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("day.txt"))); // not a regular file
        FolderEntryStorage odd(dir.path());
        const EntryStorage::Read r = odd.read(QStringLiteral("day.txt"));
        QVERIFY(r.exists && !r.ok);
        QVERIFY2(r.error.startsWith(QStringLiteral("「day.txt」は普通のファイルではない")),
                 qPrintable(r.error));
        // A FIFO is never waited on (the read would hang before the window shows), and never written over.
        QVERIFY(mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("mail.txt"))).constData(), 0600) == 0);
        const EntryStorage::Read fifo = odd.read(QStringLiteral("mail.txt"));
        QVERIFY(fifo.exists && !fifo.ok && fifo.error.contains(QStringLiteral("普通のファイルではない")));
        QVERIFY(!odd.write(QStringLiteral("mail.txt"), fileText({"あ"}), &error));
        QVERIFY(!QFileInfo(dir.filePath(QStringLiteral("mail.txt"))).isFile());
    }

    void aFullDiskKeepsTheOldFileAndSaysSo()
    {
        // A small disk of its own; only where this may be mounted (as root, as CI runs).
        QTemporaryDir dir;
        if (geteuid() != 0 || QProcess::execute(QStringLiteral("mount"),
                                                {"-t", "tmpfs", "-o", "size=32k", "tmpfs", dir.path()}) != 0)
            QSKIP("no small disk can be mounted here");
        const auto unmount =
            qScopeGuard([&dir] { QProcess::execute(QStringLiteral("umount"), {dir.path()}); });
        FolderEntryStorage storage(dir.path());
        QString error;
        const QString before(2000, QChar(u'あ'));
        QVERIFY(storage.write(QStringLiteral("Talk.txt"), before, &error));
        QFile filler(dir.filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(1024, 'x')) == 1024) {
        }
        filler.close();
        // The new text does not fit: the save says so, and the file keeps every byte it had.
        QVERIFY(!storage.write(QStringLiteral("Talk.txt"), QString(8000, QChar(u'い')), &error));
        QVERIFY2(error.contains(QStringLiteral("ディスクがいっぱいです")), qPrintable(error));
        QVERIFY(error.contains(QStringLiteral("前の内容は残っています")));
        QCOMPARE(fileBytes(dir.filePath(QStringLiteral("Talk.txt"))), TextCodec::encode(before));
        QVERIFY(!storage.write(QStringLiteral("day.txt"), QString(8000, QChar(u'い')), &error));
        QVERIFY(!error.contains(QStringLiteral("前の内容")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("day.txt"))));
    }
};

QTEST_MAIN(TestEntryFormat)
#include "test_entryformat.moc"
