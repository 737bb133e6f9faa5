#include "ui/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <limits>
#include <string>

// jpeglib.h uses FILE and size_t without declaring them, so it must stay after <cstdio>.
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace velmora::ui {
namespace {

// libjpeg reports a failure through callbacks that must not return, so they longjmp back to the
// setjmp in ReadHeader or ReadPixels. Everything between those frames and the callbacks is plain C
// data and libjpeg's own C frames, so the jump skips no destructor; exceptions are thrown only
// after those functions have returned.
struct ErrorTrap {
  jpeg_error_mgr mgr;  // First member: the callbacks get a pointer to it and cast back.
  std::jmp_buf landing;
  char message[JMSG_LENGTH_MAX];
};

struct Session {
  jpeg_decompress_struct cinfo;
  ErrorTrap trap;
};

[[noreturn]] void Bail(j_common_ptr cinfo) {
  auto* trap = reinterpret_cast<ErrorTrap*>(cinfo->err);
  cinfo->err->format_message(cinfo, trap->message);
  std::longjmp(trap->landing, 1);
}

void OnErrorExit(j_common_ptr cinfo) { Bail(cinfo); }

// Level -1 is a warning. Apart from an unfamiliar JFIF version number, every libjpeg warning means
// damaged data that libjpeg would paper over with invented pixels (a truncated file is padded with
// grey), so they fail the decode. Trace messages (levels >= 0) are dropped.
void OnEmitMessage(j_common_ptr cinfo, int msg_level) {
  if (msg_level < 0 && cinfo->err->msg_code != JWRN_JFIF_MAJOR) Bail(cinfo);
}

#ifdef JCS_EXTENSIONS
// BGRA rather than BGRX: libjpeg-turbo leaves the X byte undefined but sets alpha to 0xFF.
constexpr J_COLOR_SPACE kOutputSpace = JCS_EXT_BGRA;
constexpr int kOutputComponents = 4;
#else
constexpr J_COLOR_SPACE kOutputSpace = JCS_RGB;
constexpr int kOutputComponents = 3;
#endif

// Both return false, with trap.message set, when libjpeg gave up.
bool ReadHeader(Session* s, const std::uint8_t* data, unsigned long size) {
  if (setjmp(s->trap.landing) != 0) return false;
  jpeg_create_decompress(&s->cinfo);
  jpeg_mem_src(&s->cinfo, data, size);
  jpeg_read_header(&s->cinfo, TRUE);
  s->cinfo.out_color_space = kOutputSpace;
  jpeg_calc_output_dimensions(&s->cinfo);
  return true;
}

bool ReadPixels(Session* s, unsigned char* out) {
  if (setjmp(s->trap.landing) != 0) return false;
  jpeg_start_decompress(&s->cinfo);
  const std::size_t stride = std::size_t{s->cinfo.output_width} * 4;
  while (s->cinfo.output_scanline < s->cinfo.output_height) {
    unsigned char* row = out + s->cinfo.output_scanline * stride;
    if (jpeg_read_scanlines(&s->cinfo, &row, 1) != 1) {
      // Only a suspending data source returns short; a memory source never should.
      std::snprintf(s->trap.message, sizeof s->trap.message, "Decoder stopped at row %u",
                    s->cinfo.output_scanline);
      return false;
    }
#ifndef JCS_EXTENSIONS
    // Widen RGB to B, G, R, 0xFF in place, from the right so no pixel is overwritten unread.
    for (std::size_t x = s->cinfo.output_width; x-- > 0;) {
      const unsigned char r = row[3 * x], g = row[3 * x + 1], b = row[3 * x + 2];
      row[4 * x] = b;
      row[4 * x + 1] = g;
      row[4 * x + 2] = r;
      row[4 * x + 3] = 0xFF;
    }
#endif
  }
  jpeg_finish_decompress(&s->cinfo);
  return true;
}

// Releases libjpeg's memory whichever way the decode ends. Safe on a zeroed, never-created
// decompressor too, because jpeg_destroy skips a null memory manager.
class SessionCloser {
 public:
  explicit SessionCloser(Session* s) : s_(s) {}
  SessionCloser(const SessionCloser&) = delete;
  SessionCloser& operator=(const SessionCloser&) = delete;
  ~SessionCloser() { jpeg_destroy_decompress(&s_->cinfo); }

 private:
  Session* s_;
};

[[noreturn]] void ThrowLibjpegFailure(const Session& s) {
  throw JpegError(std::string("JPEG decoding failed: ") + s.trap.message);
}

}  // namespace

DecodedPicture DecodeJpeg(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size == 0) throw JpegError("JPEG decoding failed: no data");
  if (size > std::numeric_limits<unsigned long>::max()) {
    throw JpegError("JPEG decoding failed: " + std::to_string(size) + " bytes is too large");
  }

  Session session{};  // Zeroed so the closer is safe even if creation itself fails.
  SessionCloser closer(&session);
  session.cinfo.err = jpeg_std_error(&session.trap.mgr);
  session.trap.mgr.error_exit = OnErrorExit;
  session.trap.mgr.emit_message = OnEmitMessage;

  if (!ReadHeader(&session, data, static_cast<unsigned long>(size))) {
    ThrowLibjpegFailure(session);
  }
  const JDIMENSION width = session.cinfo.output_width;
  const JDIMENSION height = session.cinfo.output_height;
  if (width == 0 || height == 0 || width > kMaxJpegSide || height > kMaxJpegSide) {
    throw JpegError("JPEG decoding failed: the picture is " + std::to_string(width) + " x " +
                    std::to_string(height) + " pixels, more than " + std::to_string(kMaxJpegSide) +
                    " on a side is refused");
  }
  if (session.cinfo.output_components != kOutputComponents) {
    throw JpegError("JPEG decoding failed: unexpected " +
                    std::to_string(session.cinfo.output_components) + " colour components");
  }

  DecodedPicture picture;
  if (std::size_t{width} > picture.pixels.max_size() / height) {
    throw JpegError("JPEG decoding failed: the picture does not fit in memory");
  }
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.pixels.resize(std::size_t{width} * height);

  if (!ReadPixels(&session, reinterpret_cast<unsigned char*>(picture.pixels.data()))) {
    ThrowLibjpegFailure(session);
  }
  return picture;
}

}  // namespace velmora::ui
