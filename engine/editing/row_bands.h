#pragma once
// Splits per-row picture work into bands for a few worker threads shared by the whole process,
// so that retouching a face does not start and join threads for every pass of every picture.
#include <functional>

namespace kestrel::editing {

// Runs body(first_row, end_row) over [0, rows) in bands, on the shared workers and the calling
// thread, and returns when every band is done. Bands never overlap and hold at least
// min_rows rows, so small jobs stay on the calling thread. Safe to call from several threads
// at once.
void forEachBand(int rows, const std::function<void(int, int)>& body, int min_rows = 16);

}  // namespace kestrel::editing
