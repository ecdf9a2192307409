// PNG files through the Windows Imaging Component's PNG encoder, written
// into a memory stream.
#include <wincodec.h>
#include <wrl/client.h>

#include "png_file.hpp"
#include "vellonix/win32/com_apartment.hpp"

namespace vellonix::cli {

namespace {

using Microsoft::WRL::ComPtr;

// The stream's bytes, from its start to its end.
bool CopyStream(IStream& stream, std::vector<std::uint8_t>& out) {
  STATSTG stat{};
  HGLOBAL memory = nullptr;
  if (FAILED(stream.Stat(&stat, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(&stream, &memory))) return false;
  const auto size = static_cast<std::size_t>(stat.cbSize.QuadPart);
  if (size > GlobalSize(memory)) return false;
  const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(memory));
  if (bytes == nullptr) return false;
  out.insert(out.end(), bytes, bytes + size);
  GlobalUnlock(memory);
  return true;
}

}  // namespace

bool EncodeRgbPng(const formats::RgbImage& image, std::vector<std::uint8_t>& out) {
  const win32::ComApartment apartment;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IStream> stream;
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> options;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) ||
      FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
      FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) ||
      FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(&frame, &options)) || FAILED(frame->Initialize(options.Get())) ||
      FAILED(frame->SetSize(static_cast<UINT>(image.Width), static_cast<UINT>(image.Height)))) {
    return false;
  }
  // The encoder may answer with another format than the one asked for; it
  // takes 24-bit pixels in blue, green, red order.
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) return false;

  const auto stride = static_cast<UINT>(image.Width) * 3;
  std::vector<BYTE> bgr;
  bgr.reserve(image.Pixels.size() * 3);
  for (const formats::Rgb& pixel : image.Pixels) bgr.insert(bgr.end(), {pixel.B, pixel.G, pixel.R});
  return SUCCEEDED(frame->WritePixels(static_cast<UINT>(image.Height), stride, static_cast<UINT>(bgr.size()),
                                      bgr.data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit()) && CopyStream(*stream.Get(), out);
}

}  // namespace vellonix::cli
