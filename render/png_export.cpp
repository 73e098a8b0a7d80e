#include "render/png_export.h"

#include <windows.h>
#include <objbase.h>
#include <wincodec.h>

#include <cstring>

namespace {

// Releases a COM interface at the end of its scope.
template <typename T>
struct Held {
    T* p = nullptr;
    ~Held()
    {
        if (p)
            p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
};

bool Encode(IWICImagingFactory* factory, IStream* stream, int width, int height, const BYTE* rows, UINT stride)
{
    Held<IWICBitmapEncoder> encoder;
    Held<IWICBitmapFrameEncode> frame;
    Held<IPropertyBag2> options;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) ||
        FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.out(), options.out())) || FAILED(frame->Initialize(options.p)) ||
        FAILED(frame->SetSize(UINT(width), UINT(height))) || FAILED(frame->SetPixelFormat(&format)) ||
        !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
        return false;
    // The rows arrive bottom-up; the encoder takes them top-down, one at a time.
    for (int y = height - 1; y >= 0; --y) {
        if (FAILED(frame->WritePixels(1, stride, stride, const_cast<BYTE*>(rows) + size_t(y) * stride)))
            return false;
    }
    return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace

bool EncodePng(int width, int height, const void* bottomUpRows, uint32_t stride, std::vector<uint8_t>& out)
{
    out.clear();
    if (width <= 0 || height <= 0 || bottomUpRows == nullptr)
        return false;
    // The thread may already be in COM (S_FALSE), or in another apartment model: then it is used as
    // it is, and left as it was.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool encoded = false;
    {
        Held<IWICImagingFactory> factory;
        Held<IStream> stream;
        if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                       reinterpret_cast<void**>(factory.out()))) &&
            SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.out())) &&
            Encode(factory.p, stream.p, width, height, static_cast<const BYTE*>(bottomUpRows), stride)) {
            HGLOBAL memory = nullptr;
            STATSTG stat = {};
            if (SUCCEEDED(GetHGlobalFromStream(stream.p, &memory)) && SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME))) {
                const void* bytes = GlobalLock(memory);
                if (bytes != nullptr) {
                    out.assign(static_cast<const uint8_t*>(bytes),
                               static_cast<const uint8_t*>(bytes) + stat.cbSize.QuadPart);
                    GlobalUnlock(memory);
                    encoded = !out.empty();
                }
            }
        }
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return encoded;
}

bool IsPngName(const char* path)
{
    const size_t length = std::strlen(path);
    return length >= 4 && lstrcmpiA(path + length - 4, ".png") == 0;
}
