#include "ui/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The build passes the absolute path; the fallback serves a compile run from the repository root.
#ifndef VELMORA_TEST_DATA_DIR
#define VELMORA_TEST_DATA_DIR "tests/native/data"
#endif

namespace velmora::ui {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Made by tools/art/test_fixtures.py.
Bytes ReadFixture(const std::string& name) {
  const std::string path = std::string(VELMORA_TEST_DATA_DIR) + "/" + name;
  std::ifstream in(path, std::ios::binary);
  if (!in) ADD_FAILURE() << "cannot open fixture " << path;
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

DecodedPicture Decode(const Bytes& bytes) { return DecodeJpeg(bytes.data(), bytes.size()); }

// The message of the JpegError that decoding throws, or a failure if it throws nothing or
// something else.
std::string DecodeFailure(const std::uint8_t* data, std::size_t size) {
  try {
    DecodeJpeg(data, size);
  } catch (const JpegError& e) {
    return e.what();
  }
  ADD_FAILURE() << "expected JpegError";
  return "";
}

std::string DecodeFailure(const Bytes& bytes) { return DecodeFailure(bytes.data(), bytes.size()); }

// Offset of the 0xFF that starts the first segment with this marker, walking the segment chain
// so that table contents cannot be mistaken for a marker.
std::size_t SegmentOffset(const Bytes& jpeg, std::uint8_t marker) {
  std::size_t at = 2;  // Past SOI.
  while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
    if (jpeg[at + 1] == marker) return at;
    at += 2 + (jpeg[at + 2] << 8 | jpeg[at + 3]);
  }
  ADD_FAILURE() << "no segment with marker 0x" << std::hex << int{marker};
  return 0;
}

void PutBigEndian16(Bytes& bytes, std::size_t at, int value) {
  bytes[at] = static_cast<std::uint8_t>(value >> 8);
  bytes[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

constexpr std::uint8_t kSof0 = 0xC0;
constexpr std::uint8_t kSos = 0xDA;
constexpr std::uint8_t kApp0 = 0xE0;

struct Rgb {
  int r, g, b;
};

// Reads the bytes as a DIB section would see them: B, G, R, then the 0xFF filler.
Rgb PixelAt(const DecodedPicture& picture, int x, int y) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(picture.pixels.data());
  const std::size_t at = (static_cast<std::size_t>(y) * picture.width + x) * 4;
  return {bytes[at + 2], bytes[at + 1], bytes[at]};
}

void ExpectOpaque(const DecodedPicture& picture) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(picture.pixels.data());
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    ASSERT_EQ(bytes[i * 4 + 3], 0xFF) << "pixel " << i;
  }
}

void ExpectNear(const Rgb& actual, const Rgb& expected, const std::string& where) {
  constexpr int kTolerance = 8;
  EXPECT_LE(std::abs(actual.r - expected.r), kTolerance) << where << " red " << actual.r;
  EXPECT_LE(std::abs(actual.g - expected.g), kTolerance) << where << " green " << actual.g;
  EXPECT_LE(std::abs(actual.b - expected.b), kTolerance) << where << " blue " << actual.b;
}

struct QuadrantCentre {
  int x, y;
  Rgb colour;
};

TEST(JpegDecoder, DecodesColourQuadrantsToBgrxRows) {
  const QuadrantCentre kCentres[] = {
      {4, 4, {255, 0, 0}},
      {12, 4, {0, 255, 0}},
      {4, 12, {0, 0, 255}},
      {12, 12, {255, 255, 255}},
  };
  for (const char* file : {"quadrants.jpg", "quadrants_progressive.jpg"}) {
    SCOPED_TRACE(file);
    const DecodedPicture picture = Decode(ReadFixture(file));
    ASSERT_EQ(picture.width, 16);
    ASSERT_EQ(picture.height, 16);
    ASSERT_EQ(picture.pixels.size(), 256u);
    ExpectOpaque(picture);
    for (const QuadrantCentre& c : kCentres) {
      ExpectNear(PixelAt(picture, c.x, c.y), c.colour,
                 "(" + std::to_string(c.x) + "," + std::to_string(c.y) + ")");
    }
  }
}

TEST(JpegDecoder, GrayscaleBecomesGreyRgb) {
  const DecodedPicture picture = Decode(ReadFixture("gray.jpg"));
  ASSERT_EQ(picture.width, 16);
  ASSERT_EQ(picture.height, 16);
  ExpectOpaque(picture);
  const QuadrantCentre kCentres[] = {
      {4, 4, {0, 0, 0}},
      {12, 4, {85, 85, 85}},
      {4, 12, {170, 170, 170}},
      {12, 12, {255, 255, 255}},
  };
  for (const QuadrantCentre& c : kCentres) {
    const Rgb pixel = PixelAt(picture, c.x, c.y);
    const std::string where = "(" + std::to_string(c.x) + "," + std::to_string(c.y) + ")";
    EXPECT_TRUE(pixel.r == pixel.g && pixel.g == pixel.b) << where << " is not grey";
    ExpectNear(pixel, c.colour, where);
  }
}

TEST(JpegDecoder, RejectsInputThatIsNotAJpeg) {
  const std::string kPng = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR";
  const std::string kGif = "GIF89a\x10\0\x10\0";
  const std::string kText = "Velmora settings\r\n";
  const std::uint8_t kByte = 0;
  struct Case {
    const char* name;
    const std::uint8_t* data;
    std::size_t size;
    const char* message_part;
  } const kCases[] = {
      {"null", nullptr, 0, "no data"},
      {"empty", &kByte, 0, "no data"},
      {"png", reinterpret_cast<const std::uint8_t*>(kPng.data()), kPng.size(), "Not a JPEG file"},
      {"gif", reinterpret_cast<const std::uint8_t*>(kGif.data()), kGif.size(), "Not a JPEG file"},
      {"text", reinterpret_cast<const std::uint8_t*>(kText.data()), kText.size(),
       "Not a JPEG file"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_NE(DecodeFailure(c.data, c.size).find(c.message_part), std::string::npos);
  }
}

TEST(JpegDecoder, RejectsCorruptScanData) {
  const std::string message = DecodeFailure(ReadFixture("corrupt_scan.jpg"));
  EXPECT_NE(message.find("Corrupt JPEG data"), std::string::npos) << message;
}

// libjpeg itself only warns about a short file and pads the picture with grey.
TEST(JpegDecoder, RejectsEveryTruncation) {
  const Bytes whole = ReadFixture("quadrants.jpg");
  const std::size_t sos = SegmentOffset(whole, kSos);
  const std::size_t scan = sos + 2 + (whole[sos + 2] << 8 | whole[sos + 3]);
  ASSERT_LT(scan + 4, whole.size());
  const struct {
    const char* where;
    std::size_t length;
  } kCuts[] = {
      {"inside SOI", 1},
      {"after SOI", 2},
      {"inside APP0 length", 5},
      {"inside quantisation table", SegmentOffset(whole, 0xDB) + 20},
      {"inside frame header", SegmentOffset(whole, kSof0) + 6},
      {"before scan header", sos},
      {"before scan data", scan},
      {"early in scan data", scan + 3},
      {"middle of scan data", (scan + whole.size()) / 2},
      {"without EOI", whole.size() - 2},
      {"half of EOI", whole.size() - 1},
  };
  for (const auto& cut : kCuts) {
    SCOPED_TRACE(std::string(cut.where) + ", " + std::to_string(cut.length) + " bytes");
    // A buffer of exactly the cut length, so an over-read shows under a memory checker.
    const Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut.length));
    const std::string message = DecodeFailure(part);
    EXPECT_NE(message.find("Premature end of JPEG file"), std::string::npos) << message;
  }
}

TEST(JpegDecoder, RefusesOversizedPictureBeforeDecoding) {
  const Bytes whole = ReadFixture("quadrants.jpg");
  const std::size_t sof = SegmentOffset(whole, kSof0);
  const struct { int width, height; } kSizes[] = {{16385, 16}, {16, 16385}, {40000, 40000}};
  for (const auto& size : kSizes) {
    SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
    Bytes patched = whole;
    PutBigEndian16(patched, sof + 5, size.height);
    PutBigEndian16(patched, sof + 7, size.width);
    const std::string message = DecodeFailure(patched);
    EXPECT_NE(message.find("16384"), std::string::npos) << message;
  }
}

// An unknown JFIF version is the one warning that says nothing about the pixels.
TEST(JpegDecoder, AcceptsNewerJfifVersion) {
  Bytes patched = ReadFixture("quadrants.jpg");
  const std::size_t app0 = SegmentOffset(patched, kApp0);
  ASSERT_EQ(std::string(patched.begin() + app0 + 4, patched.begin() + app0 + 9),
            std::string("JFIF\0", 5));
  patched[app0 + 9] = 2;  // Major version.
  const DecodedPicture picture = Decode(patched);
  EXPECT_EQ(picture.width, 16);
  ExpectNear(PixelAt(picture, 4, 4), {255, 0, 0}, "red quadrant");
}

}  // namespace
}  // namespace velmora::ui
