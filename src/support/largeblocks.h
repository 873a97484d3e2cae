#pragma once

// glibc serves a large block from its own mapping, which goes back to the
// system when freed, but it raises that size limit to the largest such block
// freed so far. After the first draw of a long contact log frees its 10-20 MB
// buffers, the next draw's buffers come from the heap and stay resident: some
// 20 MB more at the peak. Called once at start, this keeps the limit where it is.
void keepLargeBlocksReturnable();
