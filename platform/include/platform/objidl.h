// A minimal IStream: a sequential, reference-counted byte source, enough for
// decoding pictures from memory. It is not a COM object of the shell.
#pragma once

#include "platform/windef.h"

constexpr DWORD STREAM_SEEK_SET = 0;
constexpr DWORD STREAM_SEEK_CUR = 1;
constexpr DWORD STREAM_SEEK_END = 2;

struct IStream {
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
  // Reads up to `count` bytes; S_FALSE when fewer than asked were left.
  virtual HRESULT Read(void* buffer, ULONG count, ULONG* read) = 0;
  virtual HRESULT Seek(LONGLONG move, DWORD origin, ULONGLONG* position) = 0;

 protected:
  virtual ~IStream() = default;
};

// A stream over a global memory block (globalmem.h). With deleteOnRelease the
// stream frees the block when its last reference goes.
HRESULT CreateStreamOnHGlobal(HGLOBAL block, BOOL deleteOnRelease, IStream** stream);
