#include "ui/controls/OptionButton.h"

namespace mr3x {

void OptionButton::setBackColor(long bgr)
{
    backColor_ = bgr;
    if (bgr < 0) {
        setStyleSheet(QString());
        return;
    }
    const int red = static_cast<int>(bgr & 0xFF);
    const int green = static_cast<int>((bgr >> 8) & 0xFF);
    const int blue = static_cast<int>((bgr >> 16) & 0xFF);
    // Dark backgrounds get white text so the caption stays readable.
    const bool dark = (red * 299 + green * 587 + blue * 114) / 1000 < 110;
    setStyleSheet(QStringLiteral("QRadioButton { background-color: rgb(%1,%2,%3); color: %4; padding: 1px 4px; }")
                      .arg(red).arg(green).arg(blue)
                      .arg(dark ? QStringLiteral("white") : QStringLiteral("black")));
}

} // namespace mr3x
