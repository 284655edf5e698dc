#include "appicons.h"

#include "appicon.h"
#include "icofile.h"

namespace AppIcons {

QImage png(int size)
{
    // The small sizes keep the crisp 16-colour drawing; larger ones are drawn smooth.
    return size <= 32 ? AppIcon::image(size, AppIcon::SixteenColours)
                            .convertToFormat(QImage::Format_ARGB32)
                      : AppIcon::image(size, AppIcon::TrueColour);
}

QByteArray windowsIcon()
{
    return icoFile({AppIcon::image(32, AppIcon::TwoColours),
                    AppIcon::image(32, AppIcon::SixteenColours),
                    AppIcon::image(16, AppIcon::SixteenColours)});
}

} // namespace AppIcons
