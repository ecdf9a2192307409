#include <wincodec.h>
#include <wrl/client.h>

#include "png_reader.hpp"
#include "vellonix/win32/com_apartment.hpp"

namespace vellonix::testing {

Png DecodePng(const std::vector<std::uint8_t>& file) {
  using Microsoft::WRL::ComPtr;
  const win32::ComApartment apartment;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> rgb;
  GUID container{};
  UINT width = 0;
  UINT height = 0;
  Png png;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) ||
      FAILED(factory->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(file.data()), static_cast<DWORD>(file.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
      FAILED(decoder->GetContainerFormat(&container)) || container != GUID_ContainerFormatPng ||
      FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateFormatConverter(&rgb)) ||
      FAILED(rgb->Initialize(frame.Get(), GUID_WICPixelFormat24bppRGB, WICBitmapDitherTypeNone, nullptr, 0,
                             WICBitmapPaletteTypeCustom)) ||
      FAILED(rgb->GetSize(&width, &height))) {
    return png;
  }
  png.Rgb.resize(static_cast<std::size_t>(width) * height * 3);
  if (FAILED(rgb->CopyPixels(nullptr, width * 3, static_cast<UINT>(png.Rgb.size()), png.Rgb.data()))) return png;
  png.Width = static_cast<int>(width);
  png.Height = static_cast<int>(height);
  return png;
}

}  // namespace vellonix::testing
