#include "platform/silentcharacter.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcCharacter, "pirokan.character")

void SilentCharacter::setLanguageId(int languageId)
{
    qCInfo(lcCharacter) << m_name << "language" << languageId;
}

void SilentCharacter::show()
{
    qCInfo(lcCharacter) << m_name << "show";
}

void SilentCharacter::moveTo(int x, int y)
{
    qCInfo(lcCharacter) << m_name << "move to" << x << y;
}

void SilentCharacter::play(const QString &animation)
{
    qCInfo(lcCharacter) << m_name << "play" << animation;
}

void SilentCharacter::speak(const QString &text)
{
    qCInfo(lcCharacter) << m_name << "speak" << text;
}

void SilentCharacter::stop()
{
    qCInfo(lcCharacter) << m_name << "stop";
}

bool SilentAgent::load(const QString &name, const QString &file, QString *error)
{
    if (!readCharacterFile(file, error))
        return false;
    m_characters[name] = std::make_unique<SilentCharacter>(name);
    qCInfo(lcCharacter) << name << "loaded from" << file << "(silent: no voice yet)";
    return true;
}

Character *SilentAgent::character(const QString &name)
{
    const auto it = m_characters.find(name);
    return it == m_characters.end() ? nullptr : it->second.get();
}
