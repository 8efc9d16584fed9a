// Global memory blocks, as the picture loader uses them to hand resource bytes
// to a stream. A block never moves; GlobalLock simply returns its bytes.
#pragma once

#include "platform/windef.h"

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
LPVOID GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
SIZE_T GlobalSize(HGLOBAL block);
// Returns null on success, the block itself when it is not a live block.
HGLOBAL GlobalFree(HGLOBAL block);
