#include "platform/speech/clip.h"
#include "platform/voicebank/bankindex.h"
#include "platform/voicebank/levelling.h"
#include "platform/voicebank/phrasekey.h"
#include "platform/voicebank/voicebank.h"
#include "platform/voicebank/voiceimport.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <sndfile.h>

namespace {

// A voice-like tone: `seconds` of 220 Hz at `amplitude`, between stretches of quiet noise.
Clip spoken(double seconds, double amplitude, int rate = Clip::Rate, double quietBefore = 0.5,
            double quietAfter = 0.5)
{
    Clip clip;
    clip.sampleRate = rate;
    auto quiet = [&](double s) {
        for (int i = 0; i < int(s * rate); ++i)
            clip.samples.push_back(qint16((i * 7919 % 41) - 20)); // a faint hiss
    };
    quiet(quietBefore);
    for (int i = 0; i < int(seconds * rate); ++i)
        clip.samples.push_back(qint16(amplitude * std::sin(2 * M_PI * 220 * i / rate)));
    quiet(quietAfter);
    return clip;
}

int peakOf(const Clip &clip)
{
    int peak = 0;
    for (const qint16 s : clip.samples)
        peak = std::max(peak, std::abs(int(s)));
    return peak;
}

// Writes a sound file of `channels` identical channels in the given libsndfile format.
bool writeSound(const QString &path, const Clip &clip, int format, int channels = 1)
{
    SF_INFO info{};
    info.samplerate = clip.sampleRate;
    info.channels = channels;
    info.format = format;
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f)
        return false;
    std::vector<qint16> frames;
    for (const qint16 s : clip.samples)
        frames.insert(frames.end(), size_t(channels), s);
    sf_writef_short(f, frames.data(), sf_count_t(clip.samples.size()));
    sf_close(f);
    return true;
}

void writeText(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

const char *WriterVariable = "PIROKAN_TEST_BANK_WRITER";

// Run as a child: keeps recordings until it is killed.
int writeUntilKilled(const QString &folder)
{
    VoiceBank bank(folder);
    QString error;
    if (!bank.load(&error))
        return 1;
    for (int i = 0;; ++i) {
        if (!bank.keep(QStringLiteral("ことば%1").arg(i % 7), BankEntry::Kind::Phrase,
                       spoken(0.3 + (i % 3) * 0.2, 8000), &error))
            return 2;
        std::printf("kept\n");
        std::fflush(stdout);
    }
}

} // namespace

class TestVoiceBank : public QObject
{
    Q_OBJECT

private slots:
    void phrasesMatchWhateverTheirFormAndEnding()
    {
        using PhraseKey::ofPhrase;
        const QString key = ofPhrase(QStringLiteral("ありがとう"));
        QCOMPARE(ofPhrase(QStringLiteral("ありがとう。")), key);
        QCOMPARE(ofPhrase(QStringLiteral("あり がとう！")), key);
        QCOMPARE(ofPhrase(QStringLiteral("ありがとう_")), key);      // the cursor marker
        QCOMPARE(ofPhrase(QStringLiteral("　ありがとう？\n")), key); // full-width space, line end
        QCOMPARE(ofPhrase(QStringLiteral("ＯＫです")), ofPhrase(QStringLiteral("OKです")));
        QCOMPARE(ofPhrase(QStringLiteral("ｱﾘｶﾞﾄｳ")), ofPhrase(QStringLiteral("アリガトウ")));
        // A mark inside the text counts; only the trailing ones go.
        QVERIFY(ofPhrase(QStringLiteral("はい、そうです")) != ofPhrase(QStringLiteral("はいそうです")));
        QVERIFY(ofPhrase(QStringLiteral("ありがとうございます")) != key);
        QCOMPARE(ofPhrase(QStringLiteral("。！")), QString());
        QCOMPARE(PhraseKey::ofKana(QStringLiteral("カ")), PhraseKey::ofKana(QStringLiteral("か")));
        QVERIFY(PhraseKey::ofKana(QStringLiteral("が")) != PhraseKey::ofKana(QStringLiteral("か")));
    }

    void aMixedSentenceSplitsAtSentenceEndsAndLines()
    {
        QCOMPARE(PhraseKey::pieces(QStringLiteral("おはよう。今日は、寒いね！水を下さい？\nありがとう_")),
                 (QStringList{"おはよう。", "今日は、寒いね！", "水を下さい？", "ありがとう_"}));
        QCOMPARE(PhraseKey::pieces(QStringLiteral("。\n\n  ")), QStringList{"。"});
        QCOMPARE(PhraseKey::pieces(QString()), QStringList());
    }

    void trimmingCutsTheQuietAndKeepsTheVoice()
    {
        const Clip raw = spoken(1.0, 6000, 48000, 0.8, 1.2);
        const Clip cut = Levelling::trimmed(raw);
        // The voice whole, with no more than a short margin on either side.
        QVERIFY2(cut.seconds() >= 1.0 && cut.seconds() <= 1.25, qPrintable(QString::number(cut.seconds())));
        QCOMPARE(peakOf(cut), peakOf(raw));
        // Nothing but hiss is nothing.
        QVERIFY(Levelling::trimmed(spoken(0, 0, 48000, 1.0, 1.0)).isEmpty());
        QVERIFY(Levelling::trimmed(Clip{}).isEmpty());
    }

    void levellingReachesTheVoiceLoudnessWithoutClipping()
    {
        for (const double amplitude : {300.0, 3000.0, 30000.0}) {
            const Clip level = Levelling::levelled(spoken(1.5, amplitude, 48000, 0, 0));
            QVERIFY(peakOf(level) <= Levelling::PeakLimit);
            const double lufs = *Levelling::loudness(level);
            QVERIFY2(std::abs(lufs - Levelling::VoiceLufs) < 0.5, qPrintable(QString::number(lufs)));
        }
        // A loud click in a quiet recording: the level goes as high as the peak allows, no higher.
        Clip spike = spoken(1.5, 500, 48000, 0, 0);
        spike.samples[1000] = 32000;
        const Clip level = Levelling::levelled(spike);
        QVERIFY(peakOf(level) <= Levelling::PeakLimit);
        QVERIFY(peakOf(level) >= Levelling::PeakLimit - 2);
        QVERIFY(!Levelling::loudness(Clip{}));
    }

    void theIndexRoundTrips()
    {
        BankEntry odd{QStringLiteral("タブ\tと改行\nと\\"), QStringLiteral("phrase-1.flac"),
                      BankEntry::Kind::Phrase, QDateTime(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC), 1.25};
        BankEntry kana{QStringLiteral("か"), QStringLiteral("kana-1.flac"), BankEntry::Kind::Kana,
                       QDateTime(QDate(2026, 3, 2), QTime(10, 0), Qt::UTC), 0.4};
        const QString text = BankIndex::format({odd, kana});
        QVERIFY(text.startsWith(QStringLiteral("text\tfile\tkind\tdate\tduration\n")));
        int skipped = -1;
        const QList<BankEntry> back = BankIndex::parse(text, &skipped);
        QCOMPARE(skipped, 0);
        QCOMPARE(back.size(), 2);
        QCOMPARE(back[0].text, odd.text);
        QCOMPARE(back[0].file, odd.file);
        QCOMPARE(back[0].recorded, odd.recorded);
        QCOMPARE(back[1].kind, BankEntry::Kind::Kana);
        QCOMPARE(back[1].seconds, 0.4);
        // An import's index has two columns; a line naming a file outside the folder is refused.
        const QList<BankEntry> two =
            BankIndex::parse(QStringLiteral("はい\thai.wav\r\nいいえ\t../secret.wav\nだけ\n"), &skipped);
        QCOMPARE(two.size(), 1);
        QCOMPARE(two[0].file, QStringLiteral("hai.wav"));
        QCOMPARE(skipped, 2);
    }

    void keptRecordingsPlayAgainAfterARestartAndStayPrivate()
    {
        QTemporaryDir dir;
        const QString folder = VoiceBank::folderBeside(dir.path());
        {
            VoiceBank bank(folder);
            QString error;
            QVERIFY(bank.load(&error)); // not made yet: empty
            QVERIFY(bank.keep(QStringLiteral("おはよう。"), BankEntry::Kind::Phrase, spoken(0.5, 8000, 16000),
                              &error));
            QVERIFY(bank.keep(QStringLiteral("カ"), BankEntry::Kind::Kana, spoken(0.2, 8000), &error));
        }
        VoiceBank bank(folder);
        QString error;
        QVERIFY(bank.load(&error));
        QCOMPARE(bank.size(), 2);
        const auto clip = bank.clip(QStringLiteral("おはよう_"), BankEntry::Kind::Phrase);
        QVERIFY(clip);
        QCOMPARE(clip->sampleRate, Clip::Rate); // brought to the voice's rate
        QVERIFY(std::abs(clip->seconds() - 1.5) < 0.01);
        QVERIFY(bank.cachedClip(QStringLiteral("おはよう"), BankEntry::Kind::Phrase));
        QVERIFY(bank.clip(QStringLiteral("か"), BankEntry::Kind::Kana));
        QVERIFY(!bank.clip(QStringLiteral("か"), BankEntry::Kind::Phrase));

        QCOMPARE(QFile::permissions(folder) & 0x0077, QFileDevice::Permissions());
        for (const QFileInfo &f : QDir(folder).entryInfoList(QDir::Files)) {
            QCOMPARE(f.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther |
                                        QFileDevice::WriteGroup | QFileDevice::WriteOther),
                     QFileDevice::Permissions());
        }
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 3); // two FLAC files and the index
    }

    void aReRecordingReplacesTheOldOneOnlyOnceSaved()
    {
        QTemporaryDir dir;
        VoiceBank bank(dir.filePath(QStringLiteral("bank")));
        QString error;
        QVERIFY(bank.keep(QStringLiteral("水"), BankEntry::Kind::Phrase, spoken(0.5, 8000), &error));
        QVERIFY(bank.keep(QStringLiteral("水。"), BankEntry::Kind::Phrase, spoken(1.0, 8000), &error));
        QCOMPARE(bank.size(), 1);
        QVERIFY(std::abs(bank.clip(QStringLiteral("水"), BankEntry::Kind::Phrase)->seconds() - 2.0) < 0.01);
        QCOMPARE(QDir(bank.folder()).entryList({QStringLiteral("*.flac")}).size(), 1);

        // An index that cannot be replaced (a folder stands in its place): the old recording
        // stands, the new file goes, and the reason is told.
        const QString index = QDir(bank.folder()).filePath(VoiceBank::indexName());
        QVERIFY(QFile::rename(index, index + QStringLiteral(".keep")));
        QVERIFY(QDir().mkpath(index + QStringLiteral("/x")));
        error.clear();
        QVERIFY(!bank.keep(QStringLiteral("水"), BankEntry::Kind::Phrase, spoken(0.3, 8000), &error));
        QVERIFY(error.contains(VoiceBank::indexName()));
        QVERIFY(std::abs(bank.clip(QStringLiteral("水"), BankEntry::Kind::Phrase)->seconds() - 2.0) < 0.01);
        QCOMPARE(QDir(bank.folder()).entryList({QStringLiteral("*.flac")}).size(), 1);
    }

    void aDeletedOrRevisedSentenceAndItsRecording()
    {
        QTemporaryDir dir;
        VoiceBank bank(dir.filePath(QStringLiteral("bank")));
        QString error;
        QVERIFY(
            bank.keep(QStringLiteral("お茶を下さい"), BankEntry::Kind::Phrase, spoken(0.5, 8000), &error));
        QVERIFY(
            bank.keep(QStringLiteral("お水を下さい"), BankEntry::Kind::Phrase, spoken(0.8, 8000), &error));
        // Revised: the recording follows the new text, and the text it replaces gives way.
        QVERIFY(bank.retext(QStringLiteral("お茶を下さい"), QStringLiteral("お水を下さい"),
                            BankEntry::Kind::Phrase, &error));
        QCOMPARE(bank.size(), 1);
        QVERIFY(!bank.has(QStringLiteral("お茶を下さい"), BankEntry::Kind::Phrase));
        QVERIFY(std::abs(bank.clip(QStringLiteral("お水を下さい"), BankEntry::Kind::Phrase)->seconds() -
                         1.5) < 0.01);
        VoiceBank reread(bank.folder());
        QVERIFY(reread.load(&error));
        QVERIFY(reread.has(QStringLiteral("お水を下さい。"), BankEntry::Kind::Phrase));
        // Deleted in the recordings window: the index line and the file go.
        QVERIFY(reread.remove(QStringLiteral("お水を下さい"), BankEntry::Kind::Phrase, &error));
        QCOMPARE(reread.size(), 0);
        QCOMPARE(QDir(bank.folder()).entryList({QStringLiteral("*.flac")}).size(), 0);
    }

    void twoWritersLoseNoRecording()
    {
        // The program runs while pirokan --import-voice banks a folder into the same bank.
        QTemporaryDir dir;
        const QString folder = dir.filePath("bank");
        VoiceBank running(folder);
        QString error;
        QVERIFY(running.keep(QStringLiteral("はい"), BankEntry::Kind::Phrase, spoken(0.3, 8000), &error));
        {
            VoiceBank importer(folder);
            QVERIFY(importer.load(&error));
            QTest::qWait(20); // a later modification time, even on coarse file systems
            QVERIFY(
                importer.keep(QStringLiteral("いいえ"), BankEntry::Kind::Phrase, spoken(0.3, 8000), &error));
        }
        QVERIFY(running.keep(QStringLiteral("お水"), BankEntry::Kind::Phrase, spoken(0.3, 8000), &error));
        VoiceBank after(folder);
        QVERIFY(after.load(&error));
        QCOMPARE(after.size(), 3);
        QVERIFY(after.has(QStringLiteral("いいえ"), BankEntry::Kind::Phrase));

        // An import writes its index now and then: what the program kept and deleted meanwhile stays so.
        VoiceBank importer(folder);
        QVERIFY(importer.load(&error));
        QVERIFY(importer.keep(QStringLiteral("おはよう"), BankEntry::Kind::Phrase, spoken(0.3, 8000), &error,
                              VoiceBank::Index::Later));
        QTest::qWait(20);
        QVERIFY(
            running.keep(QStringLiteral("ありがとう"), BankEntry::Kind::Phrase, spoken(0.3, 8000), &error));
        QVERIFY(running.remove(QStringLiteral("はい"), BankEntry::Kind::Phrase, &error));
        QVERIFY(importer.saveIndex(&error));
        QVERIFY(after.load(&error));
        for (const char *kept : {"いいえ", "お水", "ありがとう", "おはよう"})
            QVERIFY2(after.has(QString::fromUtf8(kept), BankEntry::Kind::Phrase), kept);
        QVERIFY(!after.has(QStringLiteral("はい"), BankEntry::Kind::Phrase));
        QCOMPARE(after.size(), 4);
        QVERIFY(importer.has(QStringLiteral("ありがとう"), BankEntry::Kind::Phrase)); // and it knows them too

        // While another process writes the index, a keep waits for it, and says so if it takes too long.
        QLockFile other(QDir(folder).filePath(VoiceBank::indexName() + QStringLiteral(".lock")));
        QVERIFY(other.tryLock(0));
        QVERIFY(!running.keep(QStringLiteral("お茶"), BankEntry::Kind::Phrase, spoken(0.3, 8000), &error));
        QVERIFY2(error.contains(QStringLiteral("ほかのプログラム")), qPrintable(error));
        other.unlock();
        QVERIFY(running.keep(QStringLiteral("お茶"), BankEntry::Kind::Phrase, spoken(0.3, 8000), &error));
    }

    void anIndexThatCannotBeReadIsNeverWrittenOver()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("bank"));
        QString error;
        {
            VoiceBank first(folder);
            QVERIFY(first.keep(QStringLiteral("はい"), BankEntry::Kind::Phrase, spoken(0.3, 8000), &error));
            QVERIFY(first.keep(QStringLiteral("いいえ"), BankEntry::Kind::Phrase, spoken(0.3, 8000), &error));
        }
        // Too large to be read: the bank starts empty, and no keep or delete may write its list over it.
        QFile index(QDir(folder).filePath(VoiceBank::indexName()));
        const qint64 size = index.size();
        QVERIFY(index.resize(VoiceBank::MaxFileBytes + 1));
        VoiceBank bank(folder);
        QVERIFY(!bank.load(&error));
        error.clear();
        QVERIFY(!bank.keep(QStringLiteral("お水"), BankEntry::Kind::Phrase, spoken(0.3, 8000), &error));
        QVERIFY2(error.contains(QStringLiteral("一覧")), qPrintable(error));
        QVERIFY(!bank.remove(QStringLiteral("はい"), BankEntry::Kind::Phrase, &error));
        QVERIFY(bank.keep(QStringLiteral("お茶"), BankEntry::Kind::Phrase, spoken(0.3, 8000), &error,
                          VoiceBank::Index::Later)); // an import's, listed when it saves the index
        QVERIFY(!bank.saveIndex(&error));
        QCOMPARE(index.size(), VoiceBank::MaxFileBytes + 1);

        // Readable again: the next keep reads it first and adds to it.
        QVERIFY(index.resize(size));
        QVERIFY2(bank.keep(QStringLiteral("お水"), BankEntry::Kind::Phrase, spoken(0.3, 8000), &error),
                 qPrintable(error));
        VoiceBank after(folder);
        QVERIFY(after.load(&error));
        for (const char *kept : {"はい", "いいえ", "お水"})
            QVERIFY2(after.has(QString::fromUtf8(kept), BankEntry::Kind::Phrase), kept);
    }

    void aKillDuringSavesLeavesEveryListedRecordingWhole()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("bank"));
        for (int round = 0; round < 5; ++round) {
            QProcess writer;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QString::fromLatin1(WriterVariable), folder);
            writer.setProcessEnvironment(env);
            writer.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(writer.waitForStarted());
            // Killed after a varying number of saves, most likely inside one.
            int kept = 0;
            while (kept < 3 + round * 2 && writer.waitForReadyRead(10000))
                kept += int(writer.readAll().count("kept"));
            writer.kill();
            writer.waitForFinished();
            VoiceBank bank(folder);
            QString error;
            QVERIFY2(bank.load(&error), qPrintable(error));
            QVERIFY(bank.size() > 0);
            for (const BankEntry &e : bank.entries())
                QVERIFY2(bank.clip(e.text, e.kind, &error), qPrintable(error));
        }
    }

    void anImportWhoseIndexCannotBeWrittenBanksNothing()
    {
        QTemporaryDir source;
        const Clip voice = spoken(0.2, 5000, 16000, 0.05);
        for (int i = 0; i < 100; ++i)
            QVERIFY(writeSound(source.filePath(QStringLiteral("%1番.wav").arg(i)), voice,
                               SF_FORMAT_WAV | SF_FORMAT_PCM_16));
        QTemporaryDir home;
        VoiceBank bank(home.filePath("bank"));
        QString error;
        QVERIFY(bank.keep(QStringLiteral("はい"), BankEntry::Kind::Phrase, spoken(0.3, 8000), &error));
        // The index turns unreadable once the import has begun: no line of it can be written.
        QFile index(QDir(bank.folder()).filePath(VoiceBank::indexName()));
        QVERIFY(index.resize(VoiceBank::MaxFileBytes + 1));
        const QList<VoiceImport::Line> lines = VoiceImport::importFolder(source.path(), bank);
        QCOMPARE(lines.size(), 100);
        for (const auto &l : lines)
            QVERIFY2(!l.banked && l.reason.contains(QStringLiteral("一覧")),
                     qPrintable(VoiceImport::describe(l)));
    }

    void anImportBanksGoodFilesAndNamesEachBadOne()
    {
        QTemporaryDir source;
        const Clip voice = spoken(0.6, 5000, 22050);
        QVERIFY(writeSound(source.filePath("ありがとう.wav"), voice, SF_FORMAT_WAV | SF_FORMAT_PCM_16));
        QVERIFY(writeSound(source.filePath("おはよう.flac"), voice, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2));
        QVERIFY(writeSound(source.filePath("はい.ogg"), voice, SF_FORMAT_OGG | SF_FORMAT_VORBIS));
        QVERIFY(writeSound(source.filePath("六つ.wav"), voice, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 6));
        writeText(source.filePath("文字.wav"), "これは音ではありません\n");
        writeText(source.filePath("空.wav"), "");
        QVERIFY(writeSound(source.filePath("長い.wav"), spoken(121, 5000, 8000),
                           SF_FORMAT_WAV | SF_FORMAT_PCM_16));
        // A WAVE whose encoding (format tag 0x7777) nobody knows.
        QByteArray odd("RIFF\x2c\0\0\0WAVEfmt "
                       "\x10\0\0\0\x77\x77\x01\0\x80\xbb\0\0\0\x77\x01\0\x02\0\x10\0data\x08\0\0\0",
                       44);
        writeText(source.filePath("謎.wav"), odd + QByteArray(8, '\x10'));

        QTemporaryDir home;
        VoiceBank bank(home.filePath("bank"));
        QString error;
        QVERIFY(bank.keep(QStringLiteral("はい"), BankEntry::Kind::Phrase, spoken(0.3, 8000), &error));
        const QList<VoiceImport::Line> lines = VoiceImport::importFolder(source.path(), bank);
        QCOMPARE(lines.size(), 8);
        QStringList banked, refused;
        for (const auto &l : lines) {
            (l.banked ? banked : refused) << l.file;
            QVERIFY(l.banked || !l.reason.isEmpty());
            QVERIFY(VoiceImport::describe(l).contains(l.file));
        }
        banked.sort();
        QCOMPARE(banked, (QStringList{"ありがとう.wav", "おはよう.flac"}));
        // "はい" was banked already: not replaced.
        QVERIFY(std::abs(bank.clip(QStringLiteral("はい"), BankEntry::Kind::Phrase)->seconds() - 1.3) < 0.05);
        for (const auto &l : lines) {
            if (l.file == QStringLiteral("六つ.wav"))
                QVERIFY(l.reason.contains(QStringLiteral("6 チャンネル")));
            if (l.file == QStringLiteral("空.wav"))
                QVERIFY(l.reason.contains(QStringLiteral("空")));
            if (l.file == QStringLiteral("長い.wav")) // longer than a take: it could never be played
                QVERIFY2(l.reason.contains(QStringLiteral("120 秒より長い")), qPrintable(l.reason));
            if (l.file == QStringLiteral("はい.ogg"))
                QVERIFY(l.reason.contains(QStringLiteral("置き換えません")));
        }
        // Levelled to the voice and trimmed, as a recording would be.
        const auto thanks = bank.clip(QStringLiteral("ありがとう"), BankEntry::Kind::Phrase);
        QVERIFY(thanks && thanks->seconds() < 0.9);
        QVERIFY(std::abs(*Levelling::loudness(*thanks) - Levelling::VoiceLufs) < 1.5);
        VoiceBank reread(bank.folder());
        QVERIFY(reread.load(&error));
        QCOMPARE(reread.size(), 3);

        // Through an index, with a file it lists but the folder lacks; and an export taken back in.
        writeText(source.filePath("index.tsv"), "ご飯\tありがとう.wav\nお風呂\tない.wav\n");
        const QList<VoiceImport::Line> indexed = VoiceImport::importFolder(source.path(), bank);
        QCOMPARE(indexed.size(), 2);
        QVERIFY(indexed[0].banked);
        QVERIFY(!indexed[1].banked && indexed[1].reason.contains(QStringLiteral("ありません")));
        QTemporaryDir out;
        const QString copy = VoiceBank::exportTargetIn(out.path());
        QVERIFY(bank.exportTo(copy, &error));
        // Exported again to the same place: beside the first copy, never over it.
        const QString second = VoiceBank::exportTargetIn(out.path());
        QVERIFY(second != copy && second.startsWith(copy));
        VoiceBank other(home.filePath("other"));
        const QList<VoiceImport::Line> back = VoiceImport::importFolder(copy, other);
        QCOMPARE(back.size(), 4);
        for (const auto &l : back)
            QVERIFY2(l.banked, qPrintable(l.reason));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(WriterVariable))
        return writeUntilKilled(qEnvironmentVariable(WriterVariable));
    TestVoiceBank test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_voicebank.moc"
