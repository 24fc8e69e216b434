#include "png_writer.h"

#include <wincodec.h>
#include <windows.h>

#include <cstdio>

#include "com_ref.h"

namespace kn::host {
namespace {

// Names the failed step and its result, so a failure is easy to trace.
bool Check(HRESULT hr, const char* step, std::string& error) {
  if (SUCCEEDED(hr)) return true;
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
  error = std::string(step) + " failed (" + code + ")";
  return false;
}

bool CreateFactory(ComRef<IWICImagingFactory>& factory, std::string& error) {
  return Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IWICImagingFactory),
                                reinterpret_cast<void**>(factory.Receive())),
               "creating the imaging factory", error);
}

bool OpenStream(IWICImagingFactory* factory, const std::wstring& path, DWORD access,
                ComRef<IWICStream>& stream, std::string& error) {
  return Check(factory->CreateStream(stream.Receive()), "creating a stream", error) &&
         Check(stream->InitializeFromFilename(path.c_str(), access), "opening the file", error);
}

bool EncodeFrame(IWICImagingFactory* factory, IWICBitmapEncoder* encoder, const Picture& picture,
                 std::string& error) {
  ComRef<IWICBitmapFrameEncode> frame;
  ComRef<IWICBitmap> bitmap;
  const UINT stride = static_cast<UINT>(picture.width) * 4;
  const UINT bytes = stride * static_cast<UINT>(picture.height);
  // The DIB's fourth byte is padding, not alpha: 32bppBGR ignores it.
  auto* pixels = reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(picture.pixels.data()));
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  return Check(encoder->CreateNewFrame(frame.Receive(), nullptr), "creating a frame", error) &&
         Check(frame->Initialize(nullptr), "initialising the frame", error) &&
         Check(frame->SetSize(static_cast<UINT>(picture.width), static_cast<UINT>(picture.height)),
               "sizing the frame", error) &&
         Check(frame->SetPixelFormat(&format), "choosing the pixel format", error) &&
         Check(factory->CreateBitmapFromMemory(
                   static_cast<UINT>(picture.width), static_cast<UINT>(picture.height),
                   GUID_WICPixelFormat32bppBGR, stride, bytes, pixels, bitmap.Receive()),
               "wrapping the pixels", error) &&
         Check(frame->WriteSource(bitmap.get(), nullptr), "writing the pixels", error) &&
         Check(frame->Commit(), "committing the frame", error);
}

bool Encode(const std::wstring& path, const Picture& picture, std::string& error) {
  ComRef<IWICImagingFactory> factory;
  ComRef<IWICStream> stream;
  ComRef<IWICBitmapEncoder> encoder;
  return CreateFactory(factory, error) &&
         OpenStream(factory.get(), path, GENERIC_WRITE, stream, error) &&
         Check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Receive()),
               "creating the PNG encoder", error) &&
         Check(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache),
               "initialising the encoder", error) &&
         EncodeFrame(factory.get(), encoder.get(), picture, error) &&
         Check(encoder->Commit(), "committing the PNG", error) &&
         Check(stream->Commit(STGC_DEFAULT), "flushing the file", error);
}

bool Decode(const std::wstring& path, Picture& picture, std::string& error) {
  ComRef<IWICImagingFactory> factory;
  ComRef<IWICStream> stream;
  ComRef<IWICBitmapDecoder> decoder;
  ComRef<IWICBitmapFrameDecode> frame;
  ComRef<IWICFormatConverter> converter;
  UINT width = 0;
  UINT height = 0;
  if (!CreateFactory(factory, error) ||
      !OpenStream(factory.get(), path, GENERIC_READ, stream, error) ||
      !Check(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.Receive()),
             "reading the PNG", error) ||
      !Check(decoder->GetFrame(0, frame.Receive()), "reading the frame", error) ||
      !Check(frame->GetSize(&width, &height), "reading the size", error) ||
      !Check(factory->CreateFormatConverter(converter.Receive()), "creating a converter", error) ||
      !Check(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom),
             "converting the pixels", error)) {
    return false;
  }
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.pixels.assign(static_cast<std::size_t>(width) * height, 0);
  if (!Check(converter->CopyPixels(nullptr, width * 4, width * height * 4,
                                   reinterpret_cast<BYTE*>(picture.pixels.data())),
             "copying the pixels", error)) {
    return false;
  }
  for (std::uint32_t& pixel : picture.pixels) pixel &= 0x00FFFFFFu;
  return true;
}

}  // namespace

bool WritePng(const std::wstring& path, const Picture& picture, std::string& error) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height) {
    error = "the picture is empty or its size does not match its pixels";
    return false;
  }
  ComScope com;
  if (!com.usable()) {
    error = "COM cannot be initialised";
    return false;
  }
  if (Encode(path, picture, error)) return true;
  DeleteFileW(path.c_str());  // no half-written picture is left behind
  return false;
}

bool ReadPng(const std::wstring& path, Picture& picture, std::string& error) {
  ComScope com;
  if (!com.usable()) {
    error = "COM cannot be initialised";
    return false;
  }
  return Decode(path, picture, error);
}

}  // namespace kn::host
