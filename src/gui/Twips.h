// Twips to pixels: the window is drawn at 15 twips to the pixel.
#pragma once

#include <QRect>

#include "app/FormModel.h"

namespace zandrel {

inline constexpr int kTwipsPerPixel = 15;

constexpr int Px(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

inline QRect PxRect(const TwipBox& box) {
    return QRect(Px(box.left), Px(box.top), Px(box.width), Px(box.height));
}

} // namespace zandrel
