// Decoding a skin's image bytes: the system's imaging codecs for raster
// formats (with PNG alpha), the OLE picture loader for metafiles.

#include <ocidl.h>
#include <olectl.h>
#include <shlwapi.h>
#include <wincodec.h>

#include <algorithm>

#include "base/ComPtr.h"
#include "look/Picture.h"

namespace mivra::win {
namespace {

// Larger images are refused rather than allocated: no panel picture comes
// near this, and broken headers can claim anything.
constexpr int kLargestSide = 8192;

bool ReasonableSize(long long width, long long height) {
    return width > 0 && height > 0 && width <= kLargestSide && height <= kLargestSide;
}

}  // namespace

Picture Picture::DecodeWithImagingCodecs(std::span<const std::uint8_t> bytes) {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put()))))
        return Picture();
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))))
        return Picture();
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())))
        return Picture();
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    if (FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)) ||
        !ReasonableSize(width, height))
        return Picture();
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)))
        return Picture();
    Picture picture = Blank(static_cast<int>(width), static_cast<int>(height));
    if (!picture) return picture;
    const UINT stride = width * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, reinterpret_cast<BYTE*>(picture.bits_))))
        return Picture();
    picture.NoteOpacity();
    return picture;
}

// Metafiles have no pixels of their own: they are played once onto black and
// once onto white, and what differs between the two was left uncovered.
Picture Picture::RenderOlePicture(std::span<const std::uint8_t> bytes) {
    ComPtr<IStream> stream;
    *stream.put() = SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()));
    if (!stream) return Picture();
    ComPtr<IPicture> loaded;
    if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(bytes.size()), FALSE, __uuidof(IPicture),
                              reinterpret_cast<void**>(loaded.put()))) ||
        !loaded)
        return Picture();
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    if (FAILED(loaded->get_Width(&hmWidth)) || FAILED(loaded->get_Height(&hmHeight))) return Picture();
    // Sizes are in 0.01 mm; pictures are laid out at 96 pixels per inch.
    const int width = MulDiv(hmWidth, 96, 2540);
    const int height = MulDiv(hmHeight, 96, 2540);
    if (!ReasonableSize(width, height)) return Picture();

    Picture onBlack = Blank(width, height);
    Picture onWhite = Blank(width, height);
    if (!onBlack || !onWhite) return Picture();
    const size_t count = static_cast<size_t>(width) * height;
    std::fill(onWhite.bits_, onWhite.bits_ + count, 0x00FFFFFFu);
    for (Picture* canvas : {&onBlack, &onWhite}) {
        const BitmapDc dc(canvas->bitmap());
        if (!dc.get() ||
            FAILED(loaded->Render(dc.get(), 0, 0, width, height, 0, hmHeight, hmWidth, -hmHeight, nullptr)))
            return Picture();
    }
    GdiFlush();
    for (size_t i = 0; i < count; ++i) {
        const std::uint32_t black = onBlack.bits_[i];
        const std::uint32_t white = onWhite.bits_[i];
        std::uint32_t alpha = 0;
        for (int shift : {0, 8, 16}) {
            const int b = static_cast<int>(black >> shift & 0xFF);
            const int w = static_cast<int>(white >> shift & 0xFF);
            alpha = std::max<std::uint32_t>(alpha, static_cast<std::uint32_t>(255 - std::clamp(w - b, 0, 255)));
        }
        // Over black the pixel already is its colour times its alpha.
        std::uint32_t pixel = alpha << 24;
        for (int shift : {0, 8, 16}) pixel |= std::min(black >> shift & 0xFF, alpha) << shift;
        onBlack.bits_[i] = pixel;
    }
    onBlack.NoteOpacity();
    return onBlack;
}

Picture Picture::FromBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > 0x7FFFFFFF || !EnsureComOnThisThread()) return Picture();
    if (Picture picture = DecodeWithImagingCodecs(bytes)) return picture;
    return RenderOlePicture(bytes);
}

}  // namespace mivra::win
