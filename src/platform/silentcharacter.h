#pragma once

#include "platform/character.h"
#include "platform/characterfile.h"

#include <QStringList>
#include <map>
#include <memory>

// A character without voice or figure: it logs one line per call.
class SilentCharacter final : public Character
{
public:
    explicit SilentCharacter(const QString &name) : m_name(name) {}
    void setLanguageId(int languageId) override;
    void show() override;
    void moveTo(int x, int y) override;
    void play(const QString &animation) override;
    void speak(const QString &text) override;
    void stop() override;

private:
    QString m_name;
};

class SilentAgent final : public Agent
{
public:
    bool load(const QString &name, const QString &file, QString *error) override;
    Character *character(const QString &name) override;

private:
    std::map<QString, std::unique_ptr<SilentCharacter>> m_characters;
};
