// The program's faces, asked for by name with fallbacks to the Japanese and serif fonts
// that a Linux desktop has installed.
#pragma once

#include <QFont>

/// "ＭＳ Ｐゴシック" at a pixel size, or the nearest installed proportional Japanese gothic.
QFont japaneseUiFont(int pixelSize);
/// "Times New Roman" at a pixel size, or an installed serif face with the same metrics.
QFont serifFont(int pixelSize);
