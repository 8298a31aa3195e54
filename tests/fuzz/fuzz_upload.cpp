// libFuzzer target for the multipart upload reader: the input's first bytes
// choose how the body is delivered and handled, the rest is the body.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "gateway/HFileUp.h"

namespace {

struct Source {
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
  uint8_t step;
  int turn = 0;

  int64_t Read(void* bytes, int64_t count) {
    if (pos >= size) return -1;  // a source that ends before the content length
    // Chunk sizes 1..step, varying from call to call.
    int64_t n = 1 + (turn++ * 7919 + step) % (int64_t(step) + 1) * 37;
    n = std::min<int64_t>({n, count, int64_t(size - pos)});
    std::memcpy(bytes, data + pos, size_t(n));
    pos += size_t(n);
    return n;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t step = data[0];
  const uint8_t mode = data[1];
  Source source{data + 2, size - 2, 0, step};

  // Mode bits: give the file parts a stream, release it ourselves or let the
  // reader release it, cancel at the second file, claim a longer body.
  std::unique_ptr<TMemoryStream> kept;
  int files = 0;
  TUploadPrepareFileEvent handler = [&](TComponent*, TStringList& info, TStream*& out, bool& freeOut, bool& cancel) {
    (void)info.Value("Content-Type");
    ++files;
    if (mode & 1) {
      if (mode & 2) {
        out = new TMemoryStream;
        freeOut = true;
      } else {
        kept = std::make_unique<TMemoryStream>();
        out = kept.get();
      }
    }
    if ((mode & 4) && files == 2) cancel = true;
  };
  const int64_t length = int64_t(size - 2) + ((mode & 8) ? 1000 : 0);

  TStringList fields(true);
  try {
    ProcessUpload([&](void* b, int64_t n) { return source.Read(b, n); }, length, fields,
                  (mode & 16) ? TUploadPrepareFileEvent() : handler, nullptr);
  } catch (const Exception&) {
    // The reader's refusals are the expected outcome of most inputs.
  }
  return 0;
}
