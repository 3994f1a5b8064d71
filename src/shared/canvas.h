#pragma once

// The main window's canvas, in twips: every place on it is reckoned in these.
namespace Canvas {

constexpr int Width = 15270;
constexpr int Height = 11115;
constexpr int TitleBarHeight = 465; // for the logical outer height
// The window's outer height, as the text-area arithmetic reads it.
constexpr int OuterHeight = Height + TitleBarHeight;

} // namespace Canvas
