#pragma once

#include <QColor>
#include <QtGlobal>

// Colours are kept in the 0x00BBGGRR form throughout the program; system colours
// are 0x800000nn with nn the system palette index. This is the one conversion.
namespace Colors {

constexpr quint32 White = 0xFFFFFF;
constexpr quint32 Black = 0x000000;
constexpr quint32 LightGreen = 0x80FF80;
constexpr quint32 Silver = 0xC0C0C0;
constexpr quint32 Grey = 0x808080;
constexpr quint32 LightBlue = 0xFFC0C0;
constexpr quint32 SystemDesktop = 0x80000001;   // system colour 1
constexpr quint32 SystemTitleText = 0x80000009; // system colour 9

QColor fromBgr(quint32 value);
quint32 toBgr(const QColor &color);

} // namespace Colors
