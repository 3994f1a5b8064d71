#pragma once

#include "platform/colors.h"

// The program's own colours (0x00BBGGRR), beside the common ones in Colors.
namespace Palette {

constexpr quint32 Window = 0xFF8080; // the windows and their frames
constexpr quint32 PaleBlue = Colors::LightBlue;
constexpr quint32 PaleRed = 0xC0C0FF;
constexpr quint32 PaleGreen = 0xC0FFC0;
constexpr quint32 PendingLabel = 0x8080FF; // the hidden label of the pending character
constexpr quint32 ClipboardKey = 0xC98391; // copy and paste
constexpr quint32 BackspaceKey = 0xC0E0FF;
constexpr quint32 ListButtonDown = 0xC00000; // the list button while held
constexpr quint32 UpKeyDown = 0x00C000;      // the list keys while held
constexpr quint32 DownKeyDown = 0x008000;
constexpr quint32 CallOrange = 0x4080FF; // orange: the call key, and the cover while a call sounds

} // namespace Palette
