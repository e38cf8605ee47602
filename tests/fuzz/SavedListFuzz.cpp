// libFuzzer target for the saved queue and play list reader. Any bytes may arrive; the reader must keep
// exactly the complete records before the first bad one, whatever the batching, and what it read must
// survive a write and a second read unchanged. A broken rule aborts with its description.
#include "framework/File.h"
#include "library/SavedList.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The smallest record: the 32-bit count and five empty strings of one byte each.
constexpr size_t kMinRecordSize = 9;

struct ReadBack {
    std::vector<MediaEntry> entries;
    size_t returned = 0;
    uint64_t position = 0;
    bool batchesOk = true;
};

ReadBack Read(const uint8_t* data, size_t size, size_t batchSize) {
    CMemFile file(data, size);
    ReadBack result;
    result.returned = ReadSavedList(
        file,
        [&](std::vector<MediaEntry>&& batch) {
            if (batch.empty() || batch.size() > batchSize) result.batchesOk = false;
            for (MediaEntry& entry : batch)
                result.entries.push_back(std::move(entry));
        },
        batchSize);
    result.position = file.GetPosition();
    return result;
}

void Check(bool condition, const char* rule, size_t size) {
    if (condition) return;
    std::fprintf(stderr, "saved list reader broke a rule on %zu bytes of input: %s\n", size, rule);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ReadBack whole = Read(data, size, kSavedListBatchSize);
    const size_t n = whole.entries.size();
    Check(whole.batchesOk, "batches are never empty nor larger than asked", size);
    Check(whole.returned == n, "the result counts the entries handed over", size);
    Check(n <= size / kMinRecordSize, "no more records than the data can hold", size);
    Check(whole.position <= size, "the file is left inside the data", size);
    Check((whole.position == 0) == (n == 0), "the file is left after the last record taken", size);

    const ReadBack single = Read(data, size, 1);
    Check(single.batchesOk && single.entries == whole.entries && single.position == whole.position,
          "batching changes nothing", size);

    // The bytes up to where reading stopped are exactly the records taken; one byte less loses the last.
    const auto taken = static_cast<size_t>(whole.position);
    const ReadBack prefix = Read(data, taken, 7);
    Check(prefix.entries == whole.entries && prefix.position == whole.position,
          "the records taken are complete records", size);
    if (n > 0) {
        const ReadBack cut = Read(data, taken - 1, 7);
        Check(cut.entries.size() == n - 1 &&
                  std::equal(cut.entries.begin(), cut.entries.end(), whole.entries.begin()),
              "a record cut short is dropped whole and only it", size);
    }

    CMemFile out;
    StoreSavedList(out, whole.entries);
    const std::vector<unsigned char>& written = out.GetData();
    const ReadBack again = Read(written.data(), written.size(), kSavedListBatchSize);
    Check(again.entries == whole.entries, "a round trip keeps every entry", size);
    Check(again.position == written.size(), "a written list is read to its end", size);
    return 0;
}
