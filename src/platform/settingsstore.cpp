#include "platform/settingsstore.h"

#include <QObject>
#include <QSettings>
#include <memory>

namespace {

std::unique_ptr<QSettings> open(const QString &fileName)
{
    if (!fileName.isEmpty())
        return std::make_unique<QSettings>(fileName, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Talk"),
                                       QStringLiteral("Talk"));
}

} // namespace

QString QtSettingsStore::read(const QString &key, const QString &defaultValue) const
{
    return open(m_fileName)->value(m_section + QLatin1Char('/') + key, defaultValue).toString();
}

bool QtSettingsStore::write(const Values &values, QString *error)
{
    // One sync writes the whole file at once (through a temporary file and a rename),
    // so a crash leaves either the old options or the new ones, never a mix.
    const auto settings = open(m_fileName);
    for (const auto &[key, value] : values)
        settings->setValue(m_section + QLatin1Char('/') + key, value);
    settings->sync();
    if (settings->status() == QSettings::NoError)
        return true;
    if (error)
        *error =
            QObject::tr("設定を保存できませんでした。設定のファイルに書き込めません。\n"
                        "ファイル：%1\n"
                        "いまの設定は Pirokan を終わるまで使えますが、次に起動すると前の設定に戻ります。")
                .arg(settings->fileName());
    return false;
}
