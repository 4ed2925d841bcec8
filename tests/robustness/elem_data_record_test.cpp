// Element data records under seeded mutation: current and older layouts, resized buffers (each mutant in a
// buffer of exactly its size, so a read past the end is caught by the sanitizers), and the rewrite of a parsed
// record reading back to the same descriptor.
#include "elements/ElemDataRecord.hpp"
#include "Mutator.hpp"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace elem_data_record_test {

namespace L = ElemRecordLayout;

const int32_t kTaggedKinds[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 19, 20, 21};

std::string Utf8(const QV_String& s) { return s.ToStdString(); }

ElemDescriptor Descriptor(uint32_t variant) {
    ElemDescriptor e;
    const std::string letters = variant % 2 ? "Pozzo-\xC3\xA6 q" : "x";
    const std::string texts = std::string(variant * 7 % 60, 'a' + char(variant % 26));
    e.Name = QV_String(letters.c_str(), Encoding_UTF8);
    e.Number = int32_t(variant * 37);
    e.AppendNumber = uint8_t(variant % 3 == 0);
    e.Value = variant % 4 == 0 ? -98765.4321 : 1.0 / (variant + 3);
    e.Note = texts.c_str();
    e.TerrainId = texts.c_str();
    e.ContourText = texts.c_str();
    e.AreaText = texts.c_str();
    e.ResultGuid = "0123ABCD-4567-89EF-0123-456789ABCDEF";
    e.FillGuid = texts.c_str();
    e.CutGuid = texts.c_str();
    e.TerrainGuid = texts.c_str();
    e.OriginalGuid = texts.c_str();
    e.ExtraText = texts.c_str();
    e.Level1 = 1234.5678 * variant;
    e.Level2 = -0.000125;
    e.Level3 = 1e300;
    e.OwnGuid.ConvertFromString("0123ABCD-4567-89EF-0123-456789ABCDEF");
    e.Serial = int32_t(variant);
    return e;
}

std::string Record(const ElemDescriptor& e, int32_t kind) {
    ElemDataRecord r;
    EXPECT_EQ(ElemDataRecord_Build(e, kind, r), ElemRecordStatus::Ok);
    return std::string(reinterpret_cast<const char*>(r.bytes), sizeof r.bytes);
}

// An older-layout record: the tag, the value at 2 and one text at 28, cut to `size` bytes.
std::string LegacyRecord(int32_t kind, const std::string& number, const std::string& text, size_t size) {
    std::string bytes(ElemDataRecordSize, '\0');
    bytes[0] = ElemKindTag(kind);
    bytes.replace(L::LegacyNumber, number.size(), number);
    bytes.replace(L::LegacyText, text.size(), text);
    bytes.resize(size);
    return bytes;
}

// A heap buffer of exactly the mutant's size (at least one byte, so an empty mutant is a real pointer).
std::unique_ptr<uint8_t[]> Exact(const std::string& bytes) {
    std::unique_ptr<uint8_t[]> p(new uint8_t[bytes.empty() ? 1 : bytes.size()]);
    std::memcpy(p.get(), bytes.data(), bytes.size());
    return p;
}

bool CloseNumbers(double a, double b) {
    if (a == b) return true;
    if (!std::isfinite(a) || !std::isfinite(b)) return false;
    return std::fabs(a - b) <= 1e-5 * std::fmax(std::fabs(a), std::fabs(b));
}

// Empty when the descriptors hold the same texts and (nearly) the same numbers.
std::string Difference(const ElemDescriptor& a, const ElemDescriptor& b) {
    const std::pair<const char*, std::pair<const QV_String*, const QV_String*>> texts[] = {
        {"Name", {&a.Name, &b.Name}},
        {"NameDigits", {&a.NameDigits, &b.NameDigits}},
        {"Note", {&a.Note, &b.Note}},
        {"TerrainId", {&a.TerrainId, &b.TerrainId}},
        {"Contour", {&a.ContourText, &b.ContourText}},
        {"Area", {&a.AreaText, &b.AreaText}},
        {"Result", {&a.ResultGuid, &b.ResultGuid}},
        {"Fill", {&a.FillGuid, &b.FillGuid}},
        {"Cut", {&a.CutGuid, &b.CutGuid}},
        {"Terrain", {&a.TerrainGuid, &b.TerrainGuid}},
        {"Original", {&a.OriginalGuid, &b.OriginalGuid}},
        {"Extra", {&a.ExtraText, &b.ExtraText}},
    };
    for (const auto& t : texts)
        if (t.second.first->Compare(*t.second.second) != 0)
            return std::string(t.first) + ": '" + Utf8(*t.second.first) + "' / '" + Utf8(*t.second.second) + "'";
    if (a.Number != b.Number) return "Number";
    if (!CloseNumbers(a.Value, b.Value)) return "Value";
    if (!CloseNumbers(a.Level1, b.Level1) || !CloseNumbers(a.Level2, b.Level2) || !CloseNumbers(a.Level3, b.Level3))
        return "levels";
    return "";
}

// A finite number survives the rewrite; infinity and NaN (a mutated exponent) are stored as "no number".
void Normalise(ElemDescriptor& d) {
    for (double* v : {&d.Value, &d.Level1, &d.Level2, &d.Level3})
        if (!std::isfinite(*v)) *v = DBL_MAX;
}

// Parses a current-layout mutant; a record that reads is rewritten and must read back the same.
bool CheckCurrent(const std::string& bytes, int32_t kind, const std::string& where) {
    const auto buffer = Exact(bytes);
    ElemDescriptor d;
    const ElemRecordStatus status = ElemDataRecord_Parse(buffer.get(), bytes.size(), kind, d);
    if (bytes.empty()) {
        EXPECT_EQ(status, ElemRecordStatus::NoData) << where;
    } else if (bytes.size() != ElemDataRecordSize) {
        EXPECT_EQ(status, ElemRecordStatus::BadSize) << where;
    } else if (uint8_t(bytes[0]) != uint8_t(ElemKindTag(kind))) {
        EXPECT_EQ(status, ElemRecordStatus::WrongTag) << where;
    }
    if (status != ElemRecordStatus::Ok) {
        EXPECT_EQ(Difference(d, ElemDescriptor()), "") << where << ": a failed parse leaves the descriptor reset";
        return false;
    }
    ElemDataRecord rewritten;
    EXPECT_EQ(ElemDataRecord_BuildRewrite(d, kind, rewritten), ElemRecordStatus::Ok) << where;
    ElemDescriptor back;
    EXPECT_EQ(ElemDataRecord_Parse(rewritten.bytes, sizeof rewritten.bytes, kind, back), ElemRecordStatus::Ok) << where;
    Normalise(d);
    EXPECT_EQ(Difference(d, back), "") << where;
    return true;
}

bool CheckLegacy(const std::string& bytes, int32_t kind, const std::string& where) {
    const auto buffer = Exact(bytes);
    ElemDescriptor d;
    const ElemRecordStatus status = ElemDataRecord_ParseLegacy(buffer.get(), bytes.size(), kind, d);
    if (bytes.empty()) {
        EXPECT_EQ(status, ElemRecordStatus::NoData) << where;
    }
    ElemDataRecord upgraded;
    const ElemRecordStatus up = ElemDataRecord_Upgrade(buffer.get(), bytes.size(), kind, upgraded);
    EXPECT_EQ(up, status) << where;
    if (up != ElemRecordStatus::Ok) return false;
    // The upgrade is a current record of the kind that reads back.
    ElemDescriptor back;
    EXPECT_EQ(ElemDataRecord_Parse(upgraded.bytes, sizeof upgraded.bytes, kind, back), ElemRecordStatus::Ok) << where;
    EXPECT_EQ(ElemDataRecord_ParseLegacy(buffer.get(), bytes.size(), kind, d), status) << where << ": not repeatable";
    return true;
}

const std::vector<std::string> kNumberTokens = {
    std::string(1, '\0'),
    "1e999",
    "-1e999",
    "1e-999",
    "99999999999999999999999999",
    "-",
    ",",
    ".",
    "e",
    "nan",
    "inf",
    "4294967296",
    "2147483648",
    "-2147483649",
    "0x7FFFFFFF",
    "\xC3\xA6",
    "\xFF\xFE",
    "00000000000000007",
};

TEST(ElemDataRecordRobustness, CurrentLayoutMutants) {
    Robustness::Mutator m(0x454C454Du);
    int ok = 0;
    const int iterations = 4000;
    for (int i = 0; i < iterations && !HasFailure(); ++i) {
        const int32_t kind = kTaggedKinds[m.Below(20)];
        std::string bytes = Record(Descriptor(m.Below(40)), kind);
        if (m.OneIn(2)) {
            bytes = m.Mutate(bytes, kNumberTokens);  // may resize
        } else {
            // Same size: bytes written over fields, often over their terminators.
            for (uint32_t k = 1 + m.Below(6); k > 0; --k) {
                const uint32_t at = m.Below(ElemDataRecordSize);
                const uint32_t run = m.OneIn(3) ? 1 + m.Below(60) : 1;
                const char c = m.OneIn(2) ? char('0' + m.Below(10)) : char(m.Below(256));
                bytes.replace(at, std::min<size_t>(run, ElemDataRecordSize - at), std::string(run, c));
            }
        }
        if (CheckCurrent(bytes, kind, "mutant " + std::to_string(i))) ++ok;
    }
    EXPECT_GT(ok, 0);
    EXPECT_LT(ok, iterations);
}

TEST(ElemDataRecordRobustness, EveryFieldWithoutTerminatorIsGarbledForTheKindsThatReadIt) {
    for (int32_t kind : kTaggedKinds) {
        const std::string good = Record(Descriptor(5), kind);
        for (uint32_t offset : {L::N1, L::T1, L::S53, L::S103, L::S153, L::S203, L::S253, L::S303, L::S353, L::S403,
                                L::S453, L::S503, L::N553, L::N573, L::N593}) {
            const uint32_t width = offset < L::S53 ? L::ShortWidth : offset >= L::N553 ? L::LevelWidth : L::SlotWidth;
            std::string bytes = good;
            bytes.replace(offset, width, std::string(width, '7'));
            ElemDescriptor d;
            const auto buffer = Exact(bytes);
            const ElemRecordStatus status = ElemDataRecord_Parse(buffer.get(), bytes.size(), kind, d);
            EXPECT_TRUE(status == ElemRecordStatus::Ok || status == ElemRecordStatus::Garbled)
                << kind << " @" << offset;
            CheckCurrent(bytes, kind, "kind " + std::to_string(kind) + " field " + std::to_string(offset));
        }
    }
}

TEST(ElemDataRecordRobustness, LegacyRecordsAtEverySizeAndMutated) {
    const std::vector<std::string> seeds = {
        LegacyRecord(ElemKind_Point, "412,75", "Pozzo007", ElemDataRecordSize),
        LegacyRecord(ElemKind_Terrain, "", "0123ABCD-4567-89EF-0123-456789ABCDEF_007", ElemDataRecordSize),
        LegacyRecord(ElemKind_Contour, "", std::string(200, 'c'), ElemDataRecordSize),
        LegacyRecord(ElemKind_ColouredArea, "", "area", 40),
        LegacyRecord(ElemKind_Road, "", "", 1),
    };
    const int32_t kinds[] = {ElemKind_Point, ElemKind_Terrain, ElemKind_Contour, ElemKind_ColouredArea, ElemKind_Road};
    // Every cut of every seed, and a few bytes more than a record.
    for (size_t s = 0; s < seeds.size(); ++s) {
        const std::string full = seeds[s] + std::string(ElemDataRecordSize + 50 - seeds[s].size(), 'z');
        for (size_t len = 0; len <= full.size(); ++len)
            CheckLegacy(full.substr(0, len), kinds[s], "seed " + std::to_string(s) + " cut " + std::to_string(len));
    }
    Robustness::Mutator m(0x4C454741u);
    int ok = 0;
    for (int i = 0; i < 4000 && !HasFailure(); ++i) {
        const size_t s = m.Below(uint32_t(seeds.size()));
        // Mostly the seed's own kind; now and then another kind, so the tag check is met too.
        const int32_t kind = m.OneIn(5) ? kTaggedKinds[m.Below(20)] : kinds[s];
        if (CheckLegacy(m.Mutate(seeds[s], kNumberTokens), kind, "mutant " + std::to_string(i))) ++ok;
    }
    EXPECT_GT(ok, 0);
}

TEST(ElemDataRecordRobustness, ResizedCurrentRecordsAreRefusedBySize) {
    const std::string good = Record(Descriptor(3), ElemKind_Road);
    for (size_t size : {size_t(1), size_t(2), size_t(649), size_t(651), size_t(1300), size_t(65536)}) {
        std::string bytes = good;
        bytes.resize(size, '\0');
        EXPECT_FALSE(CheckCurrent(bytes, ElemKind_Road, "size " + std::to_string(size)));
    }
    ElemDescriptor d;
    EXPECT_EQ(ElemDataRecord_Parse(good.data(), 0, ElemKind_Road, d), ElemRecordStatus::NoData);
    EXPECT_EQ(ElemDataRecord_Parse(nullptr, 650, ElemKind_Road, d), ElemRecordStatus::NoData);
    for (int32_t kind : {-1, 0, 17, 22, 1 << 30})
        EXPECT_EQ(ElemDataRecord_Parse(good.data(), good.size(), kind, d), ElemRecordStatus::BadKind) << kind;
}

}  // namespace elem_data_record_test
