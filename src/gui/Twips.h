// Twips to pixels: the window is drawn at 15 twips to the pixel.
#pragma once

#include <QRect>

namespace zandrel {

// A box in twips (1/1440 inch) inside a window's client area.
struct TwipBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline constexpr int kTwipsPerPixel = 15;

constexpr int Px(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

inline QRect PxRect(const TwipBox& box) {
    return QRect(Px(box.left), Px(box.top), Px(box.width), Px(box.height));
}

} // namespace zandrel
