#pragma once

#include "platform/speech/speechengine.h"

#include <QStringList>

// Open JTalk, run as its own program for each utterance.
class OpenJTalkEngine final : public SpeechEngine
{
public:
    struct Setup
    {
        QString program = QStringLiteral("open_jtalk");
        QString dictionary = QStringLiteral("/var/lib/mecab/dic/open-jtalk/naist-jdic");
        QString voiceFile;
        double speed = 1.0;
        double pitch = 0.0;
        double volume = 1.0;
    };

    explicit OpenJTalkEngine(Setup setup);
    QString key() const override;
    QString unavailableReason() const override;
    std::optional<Clip> synthesize(const QString &text, const std::atomic_bool &cancelled) override;
    void setLowPriority(bool low) override { m_lowPriority = low; }

private:
    QStringList arguments() const;
    Setup m_setup;
    QString m_path;
    bool m_lowPriority = false;
};
