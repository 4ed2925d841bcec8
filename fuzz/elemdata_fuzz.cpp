// Element data records on any bytes. The first byte picks the element kind (low five bits, of the twenty tagged
// kinds) and the layout (top bit: the older layout); the rest is the record, in a buffer of exactly its size.
// A record that parses is rewritten; the rewrite parses, and its rewrite is the same bytes (read-write-read is a
// fixed point). A failed parse leaves the descriptor reset.
#include "FuzzSupport.hpp"

#include "elements/ElemDataRecord.hpp"

#include <cstring>
#include <memory>

namespace {

const int32_t kTaggedKinds[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 19, 20, 21};

bool SameRecord(const ElemDataRecord& a, const ElemDataRecord& b) {
    return std::memcmp(a.bytes, b.bytes, sizeof a.bytes) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    Fuzz::BeginInput();
    const int32_t kind = kTaggedKinds[(data[0] & 0x1F) % 20];
    const bool legacy = (data[0] & 0x80) != 0;
    const size_t n = size - 1;
    std::unique_ptr<uint8_t[]> record(new uint8_t[n ? n : 1]);
    if (n) std::memcpy(record.get(), data + 1, n);

    ElemDescriptor d;
    const ElemRecordStatus status = legacy ? ElemDataRecord_ParseLegacy(record.get(), n, kind, d)
                                           : ElemDataRecord_Parse(record.get(), n, kind, d);
    if (status != ElemRecordStatus::Ok) {
        const ElemDescriptor reset;
        FUZZ_CHECK(d.Name.Compare(reset.Name) == 0 && d.Note.Compare(reset.Note) == 0 && d.Number == reset.Number,
                   "a failed parse leaves the descriptor reset");
        return 0;
    }
    if (!legacy) FUZZ_CHECK(n == ElemDataRecordSize, "only a record of the full size parses");
    ElemDataRecord first, second;
    FUZZ_CHECK(ElemDataRecord_BuildRewrite(d, kind, first) == ElemRecordStatus::Ok, "a parsed record rewrites");
    ElemDescriptor back;
    FUZZ_CHECK(ElemDataRecord_Parse(first.bytes, sizeof first.bytes, kind, back) == ElemRecordStatus::Ok,
               "a rewritten record parses");
    FUZZ_CHECK(ElemDataRecord_BuildRewrite(back, kind, second) == ElemRecordStatus::Ok, "it rewrites again");
    FUZZ_CHECK(SameRecord(first, second), "read-write-read is a fixed point");
    return 0;
}
