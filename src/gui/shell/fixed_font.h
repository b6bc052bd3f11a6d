#pragma once

#include <QFont>

namespace tsubakuro {

// The font of the grids and the log text: ＭＳ ゴシック where the machine has it,
// IPAGothic on a usual Linux desktop, otherwise the system's fixed-pitch font.
// Field columns line up only with a font whose half-width characters are exactly
// half as wide as the full-width ones, which is why the order matters.
QFont fixed_pitch_font(int point_size = 9);

// The proportional font the windows use for captions and labels, chosen the same
// way: ＭＳ Ｐゴシック, then IPAPGothic, then the platform's default.
QFont caption_font(int point_size = 9);

}  // namespace tsubakuro
