#include "platform/characterfile.h"

#include "platform/readablefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QObject>

Q_LOGGING_CATEGORY(lcCharacter, "pirokan.character")

namespace {

constexpr qint64 MaxFileSize = 1 << 20; // a character file is a few lines

std::optional<double> numberIn(const QString &value, double low, double high)
{
    bool ok = false;
    const double n = value.toDouble(&ok);
    // Written so that NaN, which compares false with everything, is refused too.
    if (!ok || !(n >= low && n <= high))
        return std::nullopt;
    return n;
}

} // namespace

CharacterSheet parseCharacterSheet(const QString &text)
{
    CharacterSheet sheet;
    const CharacterSheet defaults;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("name")) {
            if (!value.isEmpty())
                sheet.name = value;
        } else if (key == QLatin1String("figure.body") || key == QLatin1String("figure.face")) {
            const QColor c = QColor::fromString(value);
            if (c.isValid())
                (key == QLatin1String("figure.body") ? sheet.body : sheet.face) = c;
        } else if (key == QLatin1String("figure.size")) {
            sheet.size = int(numberIn(value, 80, 600).value_or(defaults.size));
        } else if (key == QLatin1String("voice.engines")) {
            QStringList engines;
            for (const QString &e : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                const QString name = e.trimmed().toLower();
                if (defaults.engines.contains(name))
                    engines << name;
            }
            if (!engines.isEmpty())
                sheet.engines = engines;
        } else if (key == QLatin1String("voice.file")) {
            if (!value.isEmpty())
                sheet.voiceFile = value;
        } else if (key == QLatin1String("voice.speed")) {
            sheet.speed = numberIn(value, 0.5, 2.0).value_or(defaults.speed);
        } else if (key == QLatin1String("voice.pitch")) {
            sheet.pitch = numberIn(value, -12, 12).value_or(defaults.pitch);
        } else if (key == QLatin1String("voice.volume")) {
            sheet.volume = numberIn(value, 0, 1).value_or(defaults.volume);
        }
    }
    return sheet;
}

std::optional<CharacterSheet> readCharacterFile(const QString &path, QString *error)
{
    const QFileInfo info(path);
    QFile file;
    // Only a regular file: a FIFO or a device would keep start-up waiting for ever.
    if (const ReadableFile::Result r = ReadableFile::open(file, path, MaxFileSize); !r.ok()) {
        qCWarning(lcCharacter) << "the character file" << path << "cannot be read:"
                               << (r.status == ReadableFile::Status::Missing ? QStringLiteral("missing")
                                                                             : r.detail);
        if (error)
            *error =
                QObject::tr("話すキャラクターのファイル「%1」を読めないため、Pirokan を始められません。\n"
                            "フォルダー：%2\n"
                            "ファイルがあるか、ふつうのファイルで読む許可があるか、確かめてください。")
                    .arg(info.fileName(), QDir::toNativeSeparators(info.absolutePath()));
        return std::nullopt;
    }
    return parseCharacterSheet(QString::fromUtf8(file.read(MaxFileSize)));
}
