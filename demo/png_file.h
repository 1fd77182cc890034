// PNG files written with the platform's image codecs (GDI+).
#pragma once

#include "screen_image.h"

#include <string>

// Keeps GDI+ started while it lives; the PNG writer needs one in the process.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession &) = delete;
    GdiplusSession &operator=(const GdiplusSession &) = delete;
    bool ok() const { return m_token != 0; }

private:
    ULONG_PTR m_token = 0;
};

// Writes the image, transparency kept, to path (UTF-8). Returns an empty string, or what
// went wrong.
std::string SavePng(const PixelImage &image, const std::string &path);
