#include "shared/voiceadjust.h"

#include "platform/settingsstore.h"

namespace {

std::optional<double> readNumber(const SettingsStore &store, const QString &key, double low, double high)
{
    bool ok = false;
    const double v = store.read(key, QString()).toDouble(&ok);
    if (!ok || v < low || v > high)
        return std::nullopt;
    return v;
}

} // namespace

VoiceAdjust ReadVoiceAdjust(const SettingsStore &store)
{
    return {readNumber(store, QStringLiteral("VoicePitch"), -12, 12),
            readNumber(store, QStringLiteral("VoiceSpeed"), 0.5, 2.0)};
}

bool WriteVoiceAdjust(SettingsStore &store, const VoiceAdjust &adjust, QString *error)
{
    auto text = [](const std::optional<double> &v) { return v ? QString::number(*v) : QString(); };
    return store.write({{QStringLiteral("VoicePitch"), text(adjust.pitch)},
                        {QStringLiteral("VoiceSpeed"), text(adjust.speed)}},
                       error);
}
