#include "support/image.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "draw/draw_surface.h"
#include "draw/gdi_handles.h"

namespace kanaflow::testing {
namespace {

std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

std::uint32_t Crc(const std::string& bytes) {
  static const auto table = MakeCrcTable();
  std::uint32_t c = 0xFFFFFFFFu;
  for (unsigned char byte : bytes) c = table[(c ^ byte) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void PutBigEndian(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
  PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::string typed = std::string(type) + data;
  out += typed;
  PutBigEndian(out, Crc(typed));
}

// A zlib stream of stored (uncompressed) blocks: no compressor needed.
std::string StoredZlib(const std::string& raw) {
  std::string out = "\x78\x01";
  std::uint32_t a = 1, b = 0;
  for (unsigned char byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  std::size_t pos = 0;
  do {
    const std::size_t length = std::min<std::size_t>(65535, raw.size() - pos);
    const bool last = pos + length == raw.size();
    out += static_cast<char>(last ? 1 : 0);
    out += static_cast<char>(length & 0xFF);
    out += static_cast<char>(length >> 8);
    out += static_cast<char>(~length & 0xFF);
    out += static_cast<char>((~length >> 8) & 0xFF);
    out.append(raw, pos, length);
    pos += length;
  } while (pos < raw.size());
  PutBigEndian(out, (b << 16) | a);
  return out;
}

std::filesystem::path ScreenshotFolder() {
  const char* configured = std::getenv("KANAFLOW_SCREENSHOTS");
  return configured ? std::filesystem::path(configured) : std::filesystem::path("screenshots");
}

}  // namespace

int Image::Count(int left, int top, int right, int bottom, COLORREF colour) const {
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) count += at(x, y) == colour ? 1 : 0;
  }
  return count;
}

Image CaptureDc(HDC dc, int x, int y, int width, int height) {
  Image image;
  image.width = width;
  image.height = height;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const Bitmap bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const MemoryDc target(dc);
  {
    const Selection selection(target.get(), bitmap.get());
    BitBlt(target.get(), 0, 0, width, height, dc, x, y, SRCCOPY);
  }
  GdiFlush();
  const auto* source = static_cast<const std::uint32_t*>(bits);
  image.pixels.resize(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    const std::uint32_t rgb = source[i];  // 0x00RRGGBB in a DIB
    image.pixels[i] = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
  }
  return image;
}

Image CaptureWindow(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  const WindowDc dc(window);
  return CaptureDc(dc.get(), 0, 0, client.right, client.bottom);
}

Image CaptureWindowWithFrame(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  const WindowDc screen(nullptr);
  return CaptureDc(screen.get(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

Image CaptureSurface(const CDrawSurface& surface) {
  return CaptureDc(surface.GetMemoryDC(), 0, 0, surface.GetWidth(), surface.GetHeight());
}

std::string SavePng(const Image& image, const std::string& name) {
  std::string raw;
  raw.reserve(static_cast<std::size_t>(image.height) * (image.width * 3 + 1));
  for (int y = 0; y < image.height; ++y) {
    raw += '\0';  // no filter
    for (int x = 0; x < image.width; ++x) {
      const COLORREF colour = image.at(x, y);
      raw += static_cast<char>(GetRValue(colour));
      raw += static_cast<char>(GetGValue(colour));
      raw += static_cast<char>(GetBValue(colour));
    }
  }
  std::string header;
  PutBigEndian(header, static_cast<std::uint32_t>(image.width));
  PutBigEndian(header, static_cast<std::uint32_t>(image.height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB
  std::string png = "\x89PNG\r\n\x1a\n";
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", StoredZlib(raw));
  PutChunk(png, "IEND", "");
  const std::filesystem::path folder = ScreenshotFolder();
  std::filesystem::create_directories(folder);
  const std::filesystem::path path = folder / (name + ".png");
  std::ofstream(path, std::ios::binary).write(png.data(), static_cast<std::streamsize>(png.size()));
  return path.string();
}

}  // namespace kanaflow::testing

namespace kanaflow::testing {

DWORD GdiObjectGauge() {
  if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return count;
  // Handles come from a free list first, then from fresh slots: holding many
  // new objects at once reaches past every free slot, and the highest slot
  // index reached moves up only when objects are kept.
  std::vector<HPEN> probes;
  DWORD highest = 0;
  for (int i = 0; i < 4096; ++i) {
    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    if (!pen) break;
    probes.push_back(pen);
    highest = std::max<DWORD>(highest, static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(pen) & 0xFFFF));
  }
  for (HPEN pen : probes) DeleteObject(pen);
  return highest;
}

}  // namespace kanaflow::testing

namespace kanaflow::testing {

SIZE_T PrivateBytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (const char* address = nullptr;
       VirtualQuery(address, &region, sizeof region) == sizeof region;
       address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    if (region.RegionSize == 0) break;
  }
  return total;
}

}  // namespace kanaflow::testing
