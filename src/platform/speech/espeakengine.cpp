#include "platform/speech/espeakengine.h"

#include "platform/speech/readings.h"

#include <QObject>
#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>
#include <mutex>

namespace {

// espeak-ng keeps global state: one synthesis at a time in the whole program.
std::mutex espeakMutex;

struct Collect
{
    std::vector<qint16> *samples;
    const std::atomic_bool *cancelled;
};

int onSamples(short *wav, int count, espeak_EVENT *events)
{
    auto *c = static_cast<Collect *>(events ? events->user_data : nullptr);
    if (!c)
        return 0;
    if (wav && count > 0)
        c->samples->insert(c->samples->end(), wav, wav + count);
    return *c->cancelled ? 1 : 0;
}

} // namespace

EspeakEngine::EspeakEngine(double speed, double pitch, double volume)
    : m_speed(speed), m_pitch(pitch), m_volume(volume)
{}

EspeakEngine::~EspeakEngine() = default;

bool EspeakEngine::initialise()
{
    if (m_tried)
        return m_problem.isEmpty();
    m_tried = true;
    std::lock_guard lock(espeakMutex);
    // The library's own start-up ends the whole process when its data is missing;
    // this one returns the error instead.
    espeak_ng_InitializePath(nullptr);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    const espeak_ng_STATUS status = espeak_ng_Initialize(&context);
    espeak_ng_ClearErrorContext(&context);
    if (status != ENS_OK || espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr) != ENS_OK ||
        (m_rate = espeak_ng_GetSampleRate()) <= 0) {
        m_problem = QObject::tr("espeak-ng could not start (its data may be missing)");
        return false;
    }
    if (espeak_SetVoiceByName("ja") != EE_OK) {
        m_problem = QObject::tr("espeak-ng has no Japanese voice");
        return false;
    }
    espeak_SetSynthCallback(onSamples);
    espeak_SetParameter(espeakRATE, int(175 * m_speed), 0);
    espeak_SetParameter(espeakPITCH, std::clamp(int(50 + m_pitch * 4), 0, 100), 0);
    return true;
}

QString EspeakEngine::key() const
{
    return QStringLiteral("espeak|ja|%1|%2|%3").arg(m_speed).arg(m_pitch).arg(m_volume);
}

QString EspeakEngine::unavailableReason() const
{
    return const_cast<EspeakEngine *>(this)->initialise() ? QString() : m_problem;
}

QString EspeakEngine::prepared(const QString &text) const
{
    return Readings::kanaOnly(text);
}

std::optional<Clip> EspeakEngine::synthesize(const QString &text, const std::atomic_bool &cancelled)
{
    if (!initialise() || text.trimmed().isEmpty())
        return std::nullopt;
    Clip raw;
    raw.sampleRate = m_rate;
    Collect collect{&raw.samples, &cancelled};
    const QByteArray utf8 = text.toUtf8();
    {
        std::lock_guard lock(espeakMutex);
        espeak_Synth(utf8.constData(), size_t(utf8.size() + 1), 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                     nullptr, &collect);
        espeak_Synchronize();
    }
    if (cancelled)
        return std::nullopt;
    ClipOps::trimSilence(raw);
    Clip out = ClipOps::resampled(raw);
    ClipOps::scaleVolume(out, m_volume);
    if (out.isEmpty())
        return std::nullopt;
    return out;
}
