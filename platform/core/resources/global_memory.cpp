// Global memory blocks and the stream over them.
#include <atomic>
#include <cstring>
#include <memory>
#include <new>

#include "platform/core/gdi/handle_registry.h"
#include "platform/globalmem.h"
#include "platform/objidl.h"

namespace {

struct Block {
  size_t size;
  std::unique_ptr<uint8_t[]> bytes;
};

glider::core::HandleRegistry& Live() {
  static auto* live = new glider::core::HandleRegistry();
  return *live;
}

Block* Find(HGLOBAL handle) { return Live().Contains(handle) ? reinterpret_cast<Block*>(handle) : nullptr; }

class GlobalStream final : public IStream {
 public:
  GlobalStream(HGLOBAL block, bool owns) : block_(block), owns_(owns) {}

  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT Read(void* buffer, ULONG count, ULONG* read) override {
    if (read != nullptr) *read = 0;
    Block* b = Find(block_);
    if (b == nullptr || (buffer == nullptr && count > 0)) return E_FAIL;
    const size_t left = position_ < b->size ? b->size - position_ : 0;
    const size_t n = count < left ? count : left;
    if (n > 0) std::memcpy(buffer, b->bytes.get() + position_, n);
    position_ += n;
    if (read != nullptr) *read = static_cast<ULONG>(n);
    return n == count ? S_OK : S_FALSE;
  }

  HRESULT Seek(LONGLONG move, DWORD origin, ULONGLONG* position) override {
    Block* b = Find(block_);
    if (b == nullptr) return E_FAIL;
    const LONGLONG base = origin == STREAM_SEEK_SET   ? 0
                          : origin == STREAM_SEEK_CUR ? static_cast<LONGLONG>(position_)
                          : origin == STREAM_SEEK_END ? static_cast<LONGLONG>(b->size)
                                                      : -1;
    if (base < 0 || base + move < 0) return E_INVALIDARG;
    position_ = static_cast<size_t>(base + move);
    if (position != nullptr) *position = position_;
    return S_OK;
  }

 private:
  ~GlobalStream() override {
    if (owns_) GlobalFree(block_);
  }

  HGLOBAL block_;
  bool owns_;
  size_t position_ = 0;
  std::atomic<ULONG> refs_{1};
};

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  auto* block = new (std::nothrow) Block{bytes, nullptr};
  if (block == nullptr) return nullptr;
  block->bytes.reset(new (std::nothrow) uint8_t[bytes > 0 ? bytes : 1]);
  if (!block->bytes) {
    delete block;
    return nullptr;
  }
  if (flags & GMEM_ZEROINIT) std::memset(block->bytes.get(), 0, bytes);
  Live().Add(block);
  return reinterpret_cast<HGLOBAL>(block);
}

LPVOID GlobalLock(HGLOBAL handle) {
  Block* b = Find(handle);
  return b == nullptr ? nullptr : b->bytes.get();
}

// Blocks never move, so there is no lock count: unlocking always ends it.
BOOL GlobalUnlock(HGLOBAL) { return FALSE; }

SIZE_T GlobalSize(HGLOBAL handle) {
  Block* b = Find(handle);
  return b == nullptr ? 0 : b->size;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
  if (!Live().Remove(handle)) return handle;
  delete reinterpret_cast<Block*>(handle);
  return nullptr;
}

HRESULT CreateStreamOnHGlobal(HGLOBAL block, BOOL deleteOnRelease, IStream** stream) {
  if (stream == nullptr) return E_INVALIDARG;
  *stream = nullptr;
  if (block == nullptr) {
    block = GlobalAlloc(GMEM_MOVEABLE, 0);
    deleteOnRelease = TRUE;
  } else if (Find(block) == nullptr) {
    return E_INVALIDARG;
  }
  *stream = new (std::nothrow) GlobalStream(block, deleteOnRelease != FALSE);
  return *stream != nullptr ? S_OK : E_OUTOFMEMORY;
}
