// Decodes the JPEG artwork shown in the main window and the splash banner into pixels that can be
// copied straight into a 32-bit top-down DIB section. Portable: no Windows headers here, so the
// native unit tests exercise exactly the code the Windows build runs.
#ifndef VELMORA_UI_JPEG_DECODER_H_
#define VELMORA_UI_JPEG_DECODER_H_

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace velmora::ui {

// Largest width or height accepted; anything bigger is taken as a damaged or hostile file rather
// than artwork, and refused before any pixel memory is reserved.
inline constexpr int kMaxJpegSide = 16384;

struct DecodedPicture {
  int width = 0;
  int height = 0;
  // Top-down rows, one 32-bit pixel each laid out as B, G, R, 0xFF in memory (what a 32-bit
  // top-down DIB section expects), i.e. the uint32_t value 0xFFRRGGBB on little-endian.
  std::vector<std::uint32_t> pixels;
};

class JpegError : public std::runtime_error {
 public:
  using runtime_error::runtime_error;
};

// Decodes a complete baseline or progressive JPEG held in memory; grayscale pictures come out as
// grey RGB. Throws JpegError for an empty buffer, data that is not a JPEG, damaged or truncated
// data (libjpeg's "corrupt data" and "premature end" warnings count as failures, since libjpeg
// would otherwise pad the picture with grey) and pictures larger than kMaxJpegSide on a side.
DecodedPicture DecodeJpeg(const std::uint8_t* data, std::size_t size);

}  // namespace velmora::ui

#endif  // VELMORA_UI_JPEG_DECODER_H_
