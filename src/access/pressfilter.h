#pragma once

#include <QtGlobal>
#include <optional>

// Filters for shaky hands, on the board's presses by touch, mouse, dwell or
// switch alike. Each is off at 0.
class PressFilter
{
public:
    struct Settings
    {
        int ignoreRepeatMs = 0; // a second press within this time after one taken is ignored
        int holdMs = 0;         // a press counts only when held this long
    };

    void setSettings(const Settings &s) { m_settings = s; }
    const Settings &settings() const { return m_settings; }

    // A press going down at `nowMs`; false when it is to be ignored, with its release.
    bool down(qint64 nowMs);
    // The press coming up; false when it was not held long enough (or its down was ignored).
    bool up(qint64 nowMs);
    // A press made in one go (dwell, switch, accessible action): true when it is taken.
    bool instant(qint64 nowMs);

private:
    Settings m_settings;
    std::optional<qint64> m_downAt;
    std::optional<qint64> m_lastTaken;
};
