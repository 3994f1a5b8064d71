#include "platform/colors.h"

namespace Colors {

namespace {

QColor systemColor(quint32 index)
{
    switch (index) {
    case 1: // desktop
        return QColor(58, 110, 165);
    case 9: // title-bar text
        return QColor(255, 255, 255);
    default:
        return QColor(192, 192, 192);
    }
}

} // namespace

QColor fromBgr(quint32 value)
{
    if (value & 0x80000000u)
        return systemColor(value & 0xFFu);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

quint32 toBgr(const QColor &color)
{
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}

} // namespace Colors
