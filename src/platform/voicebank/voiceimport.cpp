#include "platform/voicebank/voiceimport.h"

#include "platform/voicebank/bankfiles.h"
#include "platform/voicebank/bankindex.h"
#include "platform/voicebank/levelling.h"
#include "platform/voicebank/recordingrule.h"
#include "platform/voicebank/voicebank.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace VoiceImport {

namespace {

// The index is written now and then, so that a long import cut short keeps most of its work.
constexpr int IndexEvery = 100;

QString tr(const char *text)
{
    return QCoreApplication::translate("VoiceImport", text);
}

struct Listed
{
    QString file;
    QString text;
    BankEntry::Kind kind = BankEntry::Kind::Phrase;
    QString problem;
};

QList<Listed> listed(const QDir &dir, QList<Line> *unusable)
{
    QList<Listed> out;
    const QString index = dir.filePath(VoiceBank::indexName());
    if (QFileInfo::exists(index)) {
        QString why;
        const auto bytes = BankFiles::readChecked(index, VoiceBank::MaxFileBytes, &why);
        if (!bytes) {
            unusable->append({VoiceBank::indexName(), {}, false, why});
            return out;
        }
        const QStringList lines = QString::fromUtf8(*bytes).split(QLatin1Char('\n'));
        for (const QString &raw : lines) {
            const QList<BankEntry> parsed = BankIndex::parse(raw);
            if (parsed.isEmpty()) {
                if (!raw.trimmed().isEmpty() && !raw.startsWith(QLatin1String("text\tfile")))
                    unusable->append({raw.section(QLatin1Char('\t'), 1, 1).trimmed(),
                                      raw.section(QLatin1Char('\t'), 0, 0), false,
                                      tr("一覧の行が「言葉<TAB>ファイル名」ではありません")});
                continue;
            }
            out.append({parsed[0].file, parsed[0].text, parsed[0].kind, {}});
        }
        return out;
    }
    const QStringList names = dir.entryList(QDir::Files | QDir::Readable | QDir::System, QDir::Name);
    for (const QString &name : names)
        out.append({name, QFileInfo(name).completeBaseName(), BankEntry::Kind::Phrase, {}});
    return out;
}

} // namespace

QList<Line> importFolder(const QString &folder, VoiceBank &bank, const std::atomic_bool *stop)
{
    QList<Line> out;
    const QDir dir(folder);
    if (!QFileInfo(folder).isDir()) {
        out.append({folder, {}, false, tr("フォルダがありません")});
        return out;
    }
    int unsaved = 0;  // banked files not yet in the index on disk
    int sinceTry = 0; // banked files since the index was last written, or tried
    for (const Listed &item : listed(dir, &out)) {
        if (stop && *stop)
            break;
        Line line{item.file, item.text, false, {}};
        QString why;
        if (bank.has(item.text, item.kind)) {
            line.reason = tr("「%1」はもう録音があります（置き換えません）").arg(item.text);
        } else if (const auto bytes =
                       BankFiles::readChecked(dir.filePath(item.file), VoiceBank::MaxFileBytes, &why);
                   !bytes) {
            line.reason = why;
        } else if (const auto clip = ClipOps::decode(*bytes, &why, RecordingRule::LongestSeconds); !clip) {
            line.reason = why;
        } else {
            const Clip voice = Levelling::trimmed(ClipOps::resampled(*clip));
            if (voice.isEmpty())
                line.reason = tr("声が聞こえません（無音です）");
            else if (!bank.keep(item.text, item.kind, Levelling::levelled(voice), &why,
                                VoiceBank::Index::Later))
                line.reason = why;
            else
                line.banked = true;
        }
        out.append(line);
        // A failed write leaves them for the next one, which writes them all or says so for each.
        if (line.banked) {
            ++unsaved;
            if (++sinceTry >= IndexEvery) {
                sinceTry = 0;
                if (QString error; bank.saveIndex(&error))
                    unsaved = 0;
            }
        }
    }
    if (unsaved > 0) {
        if (QString error; !bank.saveIndex(&error)) {
            QString ignored;
            bank.load(&ignored); // the bank is what its index on disk says
            // Files kept since the index was last written are not in the bank: say so for each.
            for (qsizetype i = out.size() - 1, n = unsaved; i >= 0 && n > 0; --i)
                if (out[i].banked) {
                    out[i].banked = false;
                    out[i].reason = error;
                    --n;
                }
        }
    }
    return out;
}

QString describe(const Line &line)
{
    if (line.banked)
        return tr("登録しました\t%1\t「%2」").arg(line.file, line.text);
    return tr("登録できません\t%1\t%2").arg(line.file, line.reason);
}

QString report(const QList<Line> &lines)
{
    int banked = 0;
    QStringList refused;
    for (const Line &l : lines) {
        banked += l.banked ? 1 : 0;
        if (!l.banked)
            refused << tr("%1：%2").arg(l.file, l.reason);
    }
    QString out = tr("%1 件のうち %2 件を取り込みました。").arg(lines.size()).arg(banked);
    if (!refused.isEmpty())
        out += tr("\n取り込めなかったもの：\n") + refused.mid(0, 8).join(QLatin1Char('\n')) +
               (refused.size() > 8 ? tr("\nほか %1 件").arg(refused.size() - 8) : QString());
    return out;
}

} // namespace VoiceImport
