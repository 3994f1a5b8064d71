#include "platform/settingsstore.h"

#include "platform/privatefile.h"
#include "platform/readablefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QObject>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <memory>

Q_LOGGING_CATEGORY(lcSettings, "pirokan.settings")

namespace {

// An options file is a few hundred bytes; anything far larger is not one.
constexpr qint64 MaxFileBytes = 1024 * 1024;

// The files QSettings reads for the user's store: the application's and the
// organisation's ("Talk" both), the user's first, then the system's.
QStringList filesRead(const QString &fileName)
{
    if (!fileName.isEmpty())
        return {fileName};
    QStringList files;
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        files << QDir(folder).filePath(QStringLiteral("Talk/Talk.conf"))
              << QDir(folder).filePath(QStringLiteral("Talk.conf"));
    return files;
}

std::unique_ptr<QSettings> open(const QString &fileName)
{
    if (!fileName.isEmpty())
        return std::make_unique<QSettings>(fileName, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Talk"),
                                       QStringLiteral("Talk"));
}

} // namespace

QString QtSettingsStore::problem() const
{
    // Reading a FIFO or a device would wait for ever, before the window shows;
    // such a file is neither read nor replaced.
    for (const QString &file : filesRead(m_fileName)) {
        const ReadableFile::Result r = ReadableFile::check(file, MaxFileBytes);
        if (r.status != ReadableFile::Status::NotRegular && r.status != ReadableFile::Status::TooLarge)
            continue;
        static QSet<QString> logged; // every read asks again; the log says it once
        if (!logged.contains(file)) {
            logged.insert(file);
            qCWarning(lcSettings) << file << "is not a settings file (not a regular file, or over"
                                  << MaxFileBytes << "bytes); the defaults are used";
        }
        return QObject::tr("設定のファイルが普通のファイルでないか、大きすぎるので、読みませんでした。\n"
                           "ファイル：%1\n"
                           "いまは初めの設定で動いています。設定を保存するには、このファイルを"
                           "消すか、名前を変えてから、Pirokan を起動しなおしてください。")
            .arg(QDir::toNativeSeparators(file));
    }
    return {};
}

QString QtSettingsStore::read(const QString &key, const QString &defaultValue) const
{
    if (!problem().isEmpty())
        return defaultValue;
    const QVariant value = open(m_fileName)->value(m_section + QLatin1Char('/') + key, defaultValue);
    // A line edited by hand with a comma in it and no quotes reads as a list; it is still one text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

bool QtSettingsStore::write(const Values &values, QString *error)
{
    if (const QString why = problem(); !why.isEmpty()) {
        if (error)
            *error = QObject::tr("設定を保存できませんでした。\n") + why;
        return false;
    }
    // One sync writes the whole file at once (through a temporary file and a rename),
    // so a crash leaves either the old options or the new ones, never a mix.
    const auto settings = open(m_fileName);
    for (const auto &[key, value] : values)
        settings->setValue(m_section + QLatin1Char('/') + key, value);
    settings->sync();
    if (settings->status() == QSettings::NoError) {
        // How the user presses, their call and their microphone are theirs alone; later
        // writes keep these permissions, as the rename takes the old file's.
        QFile::setPermissions(settings->fileName(), PrivateFile::UserOnly);
        return true;
    }
    if (error)
        *error =
            QObject::tr("設定を保存できませんでした。設定のファイルに書き込めません。\n"
                        "ファイル：%1\n"
                        "いまの設定は Pirokan を終わるまで使えますが、次に起動すると前の設定に戻ります。")
                .arg(settings->fileName());
    return false;
}
