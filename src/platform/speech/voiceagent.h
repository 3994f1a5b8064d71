#pragma once

#include "platform/character.h"

#include <QStringList>
#include <map>
#include <memory>
#include <optional>

class AudioOutput;
class Figure;
class SpeakingVoice;
class SpeechEngine;
class VoiceBank;
struct CharacterSheet;

// The first engine of the sheet's list that can speak here; null (with the
// reasons) when none can, or when "silent" comes first.
std::unique_ptr<SpeechEngine> firstWorkingEngine(const CharacterSheet &sheet, QStringList *problems);

// The speaking character made of our voice and our figure.
class VoiceCharacter final : public Character
{
public:
    // mute: the voice was wanted but cannot be heard.
    VoiceCharacter(std::unique_ptr<SpeakingVoice> voice, std::unique_ptr<AudioOutput> audio,
                   std::unique_ptr<Figure> figure, bool mute, const CharacterSheet &sheet);
    ~VoiceCharacter() override;

    void setLanguageId(int languageId) override;
    void show() override;
    void moveTo(int x, int y) override;
    void fitHeight(int pixels) override;
    void play(const QString &animation) override;
    void speak(const QString &text) override;
    void stop() override;
    bool isSpeaking() const override;
    void prepare(const QStringList &texts) override;
    void adjustVoice(double speed, double pitch) override;
    void setMuteHandler(std::function<void()> handler) override;

private:
    std::unique_ptr<AudioOutput> m_audio;
    std::unique_ptr<SpeakingVoice> m_voice; // null when silent
    std::unique_ptr<Figure> m_figure;
    bool m_mute;
    std::unique_ptr<CharacterSheet> m_sheet; // the voice as the file gives it
};

// Loads characters from character files: picks the first engine of the file's
// list that works here, and falls silent (saying why, once) when none does.
class VoiceAgent final : public Agent
{
public:
    // The user's recordings, played before any synthesis; it must outlive the agent.
    void setBank(VoiceBank *bank) { m_bank = bank; }
    // The speed and pitch the user chose, over the character file's.
    void setVoiceAdjust(std::optional<double> speed, std::optional<double> pitch)
    {
        m_speed = speed;
        m_pitch = pitch;
    }
    bool load(const QString &name, const QString &file, QString *error) override;
    Character *character(const QString &name) override;

private:
    std::map<QString, std::unique_ptr<VoiceCharacter>> m_characters;
    VoiceBank *m_bank = nullptr;
    std::optional<double> m_speed, m_pitch;
};
