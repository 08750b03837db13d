#pragma once
// The exit codes of the batch tools, which scripts test.

namespace lumetra {

inline constexpr int kBatchOk = 0;
inline constexpr int kBatchFailed = 1;    // unreadable input, failed work, unwritable output
inline constexpr int kBatchBadUsage = 2;  // a bad command line

}  // namespace lumetra
