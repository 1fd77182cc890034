#include "png_file.h"

#include "utf8_text.h"

// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out of windows.h.
#include <objidl.h>

#include <gdiplus.h>

#include <string>

namespace {

// The PNG encoder that GDI+ carries, by its class id.
const CLSID kPngEncoder = {
    0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

// A GDI+ bitmap, disposed of with it.
class GpBitmapHandle {
public:
    GpBitmapHandle() = default;
    GpBitmapHandle(const GpBitmapHandle &) = delete;
    GpBitmapHandle &operator=(const GpBitmapHandle &) = delete;
    ~GpBitmapHandle() {
        if (m_p)
            Gdiplus::DllExports::GdipDisposeImage(m_p);
    }
    Gdiplus::GpBitmap **out() { return &m_p; }
    Gdiplus::GpBitmap *get() const { return m_p; }

private:
    Gdiplus::GpBitmap *m_p = nullptr;
};

} // namespace

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok)
        m_token = 0;
}

GdiplusSession::~GdiplusSession() {
    if (m_token)
        Gdiplus::GdiplusShutdown(m_token);
}

std::string SavePng(const PixelImage &image, const std::string &path) {
    using namespace Gdiplus;
    if (image.aPixels.empty())
        return "nothing to write";
    const std::wstring widePath = WideFromUtf8(path);

    // GDI+ reads the pixels where they are; they outlive the bitmap.
    GpBitmapHandle bitmap;
    GpStatus status = DllExports::GdipCreateBitmapFromScan0(
        image.nWidth, image.nHeight, image.nWidth * 4, PixelFormat32bppARGB,
        reinterpret_cast<BYTE *>(const_cast<uint32_t *>(image.aPixels.data())), bitmap.out());
    if (status != Ok)
        return "GDI+ could not make a bitmap (status " + std::to_string(status) + ")";
    status = DllExports::GdipSaveImageToFile(bitmap.get(), widePath.c_str(), &kPngEncoder, nullptr);
    if (status != Ok)
        return "GDI+ could not write " + path + " (status " + std::to_string(status) + ")";
    return {};
}
