// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures.h"

#include <objbase.h>
#include <wincodec.h>

#include <vector>

#include "resource_ids.h"

namespace win {
namespace {

int resourceOf(layout::Picture picture) {
    switch (picture) {
        case layout::Picture::Crest:
            return kCrestPicture;
        case layout::Picture::Logo:
            return kLogoPicture;
        case layout::Picture::Mascot:
            return kMascotPicture;
        case layout::Picture::Praise:
            return kPraisePicture;
        case layout::Picture::None:
            break;
    }
    return 0;
}

template <typename T>
void release(T*& object) {
    if (object != nullptr)
        object->Release();
    object = nullptr;
}

// The first frame of the picture's JPEG, or null.
IWICBitmapFrameDecode* decodeFrame(IWICImagingFactory* factory, layout::Picture picture) {
    const int id = resourceOf(picture);
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (factory == nullptr || found == nullptr)
        return nullptr;
    HGLOBAL loaded = LoadResource(nullptr, found);
    const DWORD size = SizeofResource(nullptr, found);
    auto* bytes = static_cast<BYTE*>(LockResource(loaded));
    if (bytes == nullptr || size == 0)
        return nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    if (SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromMemory(bytes, size)) &&
        SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnLoad,
                                                   &decoder)))
        decoder->GetFrame(0, &frame);
    release(decoder);
    release(stream);
    return frame;
}

}  // namespace

PictureCache::PictureCache() = default;

// The imaging component is loaded when the first picture is drawn.
void* PictureCache::factory() {
    if (factory_ == nullptr && !triedFactory_) {
        triedFactory_ = true;
        comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        IWICImagingFactory* made = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IWICImagingFactory, reinterpret_cast<void**>(&made))))
            factory_ = made;
    }
    return factory_;
}

PictureCache::~PictureCache() {
    for (auto& [key, bitmap] : bitmaps_)
        DeleteObject(bitmap);
    if (factory_ != nullptr)
        static_cast<IWICImagingFactory*>(factory_)->Release();
    if (comStarted_)
        CoUninitialize();
}

// The size in a JPEG's start-of-frame segment, read without decoding the picture, so that
// laying out a window never waits for the imaging component.
SIZE PictureCache::naturalSize(layout::Picture picture) {
    HRSRC found =
        FindResourceW(nullptr, MAKEINTRESOURCEW(resourceOf(picture)), MAKEINTRESOURCEW(10));
    if (resourceOf(picture) == 0 || found == nullptr)
        return {};
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    const DWORD size = SizeofResource(nullptr, found);
    if (bytes == nullptr || size < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return {};
    for (DWORD at = 2; at + 9 < size;) {
        if (bytes[at] != 0xFF)
            return {};
        const BYTE marker = bytes[at + 1];
        const DWORD length = static_cast<DWORD>(bytes[at + 2] << 8 | bytes[at + 3]);
        // SOF0..SOF15, less DHT (C4), JPG (C8) and DAC (CC).
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return SIZE{bytes[at + 7] << 8 | bytes[at + 8], bytes[at + 5] << 8 | bytes[at + 6]};
        at += 2 + length;
    }
    return {};
}

HBITMAP PictureCache::scaled(layout::Picture picture, int width, int height) {
    const auto key = std::make_tuple(picture, width, height);
    if (const auto found = bitmaps_.find(key); found != bitmaps_.end())
        return found->second;
    auto* factory = static_cast<IWICImagingFactory*>(this->factory());
    IWICBitmapFrameDecode* frame = decodeFrame(factory, picture);
    IWICBitmapScaler* scaler = nullptr;
    IWICFormatConverter* converter = nullptr;
    HBITMAP bitmap = nullptr;
    if (frame != nullptr && SUCCEEDED(factory->CreateBitmapScaler(&scaler)) &&
        SUCCEEDED(scaler->Initialize(frame, static_cast<UINT>(width), static_cast<UINT>(height),
                                     WICBitmapInterpolationModeFant)) &&
        SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(scaler, GUID_WICPixelFormat32bppBGR,
                                        WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom))) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const UINT stride = static_cast<UINT>(width) * 4;
        if (bitmap != nullptr &&
            FAILED(converter->CopyPixels(nullptr, stride, stride * static_cast<UINT>(height),
                                         static_cast<BYTE*>(bits)))) {
            DeleteObject(bitmap);
            bitmap = nullptr;
        }
    }
    release(converter);
    release(scaler);
    release(frame);
    if (bitmap != nullptr)
        bitmaps_.emplace(key, bitmap);
    return bitmap;
}

void PictureCache::draw(HDC dc, layout::Picture picture, const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    HBITMAP bitmap = scaled(picture, width, height);
    if (bitmap == nullptr)
        return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(dc, rect.left, rect.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

}  // namespace win
