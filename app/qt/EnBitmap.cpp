#include "app/qt/EnBitmap.h"

#include <cstring>

CEnBitmap::CEnBitmap(const QImage& image, COLORREF background) : m_image(image), m_background(background)
{
}

bool CEnBitmap::ApplyProcessors(const std::vector<C32BitImageProcessor*>& processors)
{
    if (processors.empty())
        return true;
    if (m_image.isNull())
        return false;

    const QImage source = m_image.convertToFormat(QImage::Format_RGB32);
    if (source.isNull())
        return false;
    PixelImage pixels;
    pixels.size = {source.width(), source.height()};
    pixels.pixels.resize(static_cast<std::size_t>(source.width()) * static_cast<std::size_t>(source.height()));
    for (int y = 0; y < source.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        Pixel32* out = pixels.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(source.width());
        // The fourth byte is reserved, as in a device-independent bitmap.
        for (int x = 0; x < source.width(); ++x)
            out[x] = line[x] & 0x00FFFFFFu;
    }

    if (!ApplyProcessorsToImage(pixels, m_background, processors))
        return false;

    QImage result(pixels.size.cx, pixels.size.cy, QImage::Format_RGB32);
    if (result.isNull())
        return false;
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        const Pixel32* in = pixels.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(result.width());
        for (int x = 0; x < result.width(); ++x)
            line[x] = in[x] | 0xFF000000u;
    }
    m_image = result;
    return true;
}
