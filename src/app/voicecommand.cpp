#include "app/voicecommand.h"

#include "platform/entrystorage.h"
#include "platform/voicebank/voicebank.h"
#include "platform/voicebank/voiceimport.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int ImportVoiceCommand(const QString &folder)
{
    const QString appPath = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    VoiceBank bank(VoiceBank::folderBeside(FolderEntryStorage::chooseFolder(appPath)));
    if (QString error; !bank.load(&error)) {
        std::fprintf(stderr, "pirokan: %s\n", qPrintable(error));
        return 1;
    }
    const QList<VoiceImport::Line> lines = VoiceImport::importFolder(folder, bank);
    int banked = 0;
    for (const VoiceImport::Line &line : lines) {
        std::printf("%s\n", qPrintable(VoiceImport::describe(line)));
        banked += line.banked ? 1 : 0;
    }
    std::printf("%s\n", qPrintable(QStringLiteral("%1 件のうち %2 件を「%3」に登録しました。"
                                                  "すでにある録音は置き換えていません。")
                                       .arg(lines.size())
                                       .arg(banked)
                                       .arg(QDir::toNativeSeparators(bank.folder()))));
    return !lines.isEmpty() && banked == lines.size() ? 0 : 1;
}
