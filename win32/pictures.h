// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The pictures of both windows: JPEG files inside the program, decoded by the Windows
// Imaging Component and scaled to the size they are drawn at, so that they stay sharp at
// any DPI.

#include <windows.h>

#include <map>
#include <tuple>

#include "window_layouts.h"

namespace win {

class PictureCache {
public:
    PictureCache();
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // The picture's own size in pixels at 96 DPI; {0, 0} when it cannot be read.
    SIZE naturalSize(layout::Picture picture);
    // Draws the picture into the rectangle, scaled to it.
    void draw(HDC dc, layout::Picture picture, const RECT& rect);

private:
    HBITMAP scaled(layout::Picture picture, int width, int height);
    void* factory();

    void* factory_ = nullptr;  // IWICImagingFactory
    bool triedFactory_ = false;
    bool comStarted_ = false;
    std::map<std::tuple<layout::Picture, int, int>, HBITMAP> bitmaps_;
};

}  // namespace win
