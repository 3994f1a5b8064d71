#pragma once

#include "platform/speech/speechengine.h"

// espeak-ng's Japanese voice, which reads kana only.
class EspeakEngine final : public SpeechEngine
{
public:
    EspeakEngine(double speed, double pitch, double volume);
    ~EspeakEngine() override;
    QString key() const override;
    QString unavailableReason() const override;
    QString prepared(const QString &text) const override;
    std::optional<Clip> synthesize(const QString &text, const std::atomic_bool &cancelled) override;

private:
    bool initialise();
    double m_speed, m_pitch, m_volume;
    int m_rate = 0;
    bool m_tried = false;
    QString m_problem;
};
