// For tests only: makes the next locks of index buffers taken through
// LockIndexBuffer fail, so that the paths for a buffer that cannot be filled
// run on a device whose locks always work.
#pragma once

// The next `count` calls of LockIndexBuffer fail with D3DERR_INVALIDCALL
// without touching the buffer; 0 (the start) leaves every lock to the
// device.
void FailIndexBufferLocksForTesting(int count);
