#pragma once

#include <QIcon>
#include <QImage>

#include <vector>

// The toolbar's button pictures in their three looks: the pictures as drawn when the mouse is over a
// button, lightened a little for the normal look, and grey and much lighter when disabled.
namespace toolbarimages {

// Buttons in the pictures' order.
enum Button { Open, Save, Previous, Next, ProcessAll, Options, ZoomIn, ZoomOut, ZoomFit, Count };

// Lightens every colour by `amount` of lightness (hue, saturation and lightness, lightness capped at 1);
// transparency is kept.
QImage lightened(const QImage& image, double amount);
// Every colour turned grey: (blue + 6 x green + 3 x red) / 10; transparency is kept.
QImage greyed(const QImage& image);

// One icon per button, cut from the picture strips (32 and 64 pixels high) of the resources.
std::vector<QIcon> icons();

} // namespace toolbarimages
