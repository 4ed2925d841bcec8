// The fields a multi-edit of roads or railways carries from the dialog onto each placed object: every flagged
// field but the layer, the name and the pen (which the objects' host records carry), each with its own type, and
// nothing unflagged.
#include "earthworks/Railway.hpp"
#include "earthworks/Road.hpp"

#include <cstdint>
#include <random>
#include <vector>

namespace changed_fields_test {

struct FieldTypes {
    std::vector<int16_t> reals;
    std::vector<int16_t> shorts;
    std::vector<int16_t> carriedByRecord;  // never copied: layer, name, pen
};

using RoadId = RoadSettings::Id;
const FieldTypes RoadTypes{{RoadId::leftCutAngle, RoadId::rightCutAngle, RoadId::leftFillAngle, RoadId::rightFillAngle,
                            RoadId::cutExtension, RoadId::fillExtension},
                           {RoadId::levelMaterial, RoadId::fillMaterial, RoadId::cutMaterial, RoadId::resolution,
                            RoadId::show2D, RoadId::pen2D, RoadId::obstacleShow2D, RoadId::obstaclePen,
                            RoadId::obstacleLineType},
                           {RoadId::layer, RoadId::name, RoadId::pen}};
using RailwayId = RailwaySettings::Id;
const FieldTypes RailwayTypes{
    {RailwayId::leftCutAngle, RailwayId::rightCutAngle, RailwayId::leftFillAngle, RailwayId::rightFillAngle,
     RailwayId::cutExtension, RailwayId::fillExtension, RailwayId::gauge, RailwayId::tieSpacing},
    {RailwayId::railMaterial, RailwayId::tieMaterial, RailwayId::levelMaterial, RailwayId::fillMaterial,
     RailwayId::cutMaterial, RailwayId::resolution, RailwayId::show2D, RailwayId::pen2D, RailwayId::obstacleShow2D,
     RailwayId::obstaclePen, RailwayId::obstacleLineType, RailwayId::firstTrack, RailwayId::secondTrack,
     RailwayId::levelCrossing},
    {RailwayId::layer, RailwayId::name, RailwayId::pen}};

class Random {
public:
    double Real() { return std::uniform_real_distribution<double>(-100.0, 100.0)(rng_); }
    int16_t Short() { return int16_t(std::uniform_int_distribution<int>(-32768, 32767)(rng_)); }
    uint8_t Flag() { return uint8_t(std::uniform_int_distribution<int>(0, 3)(rng_) == 0 ? 0 : 1); }

private:
    std::mt19937 rng_{20261208};
};

// Fills every field of the record through its own accessors (the layer and pen as shorts, the name as a text).
template <class Record, class SetReal, class SetShort>
void Fill(Record& record, const FieldTypes& types, Random& random, SetReal setReal, SetShort setShort) {
    for (int16_t id : types.reals) setReal(record, id, random.Real());
    for (int16_t id : types.shorts) setShort(record, id, random.Short());
    record.layer = random.Short();
    record.pen = random.Short();
    record.name = QV_String(std::to_string(random.Short()).c_str());
}

template <int32_t Count, class Record, class GetReal, class GetShort, class SetReal, class SetShort>
void CheckCopies(const FieldTypes& types, GetReal getReal, GetShort getShort, SetReal setReal, SetShort setShort) {
    Random random;
    for (int round = 0; round < 200; ++round) {
        Record source, target;
        Fill(source, types, random, setReal, setShort);
        Fill(target, types, random, setReal, setShort);
        const Record before = target;
        uint8_t changed[Count];
        for (uint8_t& flag : changed) flag = random.Flag();
        CopyChangedFields(changed, target, source);
        for (int16_t id : types.reals)
            EXPECT_EQ(getReal(target, id), getReal(changed[id] != 0 ? source : before, id)) << "real " << id;
        for (int16_t id : types.shorts)
            EXPECT_EQ(getShort(target, id), getShort(changed[id] != 0 ? source : before, id)) << "short " << id;
        EXPECT_EQ(target.layer, before.layer);
        EXPECT_EQ(target.pen, before.pen);
        EXPECT_EQ(target.name.ToStdString(), before.name.ToStdString());
        if (::testing::Test::HasFailure()) return;
    }
}

TEST(ChangedFieldsTest, ARoadEditCopiesEachFlaggedParameterFieldWithItsOwnType) {
    CheckCopies<RoadFieldCount, RoadSettings>(
        RoadTypes, [](const RoadSettings& r, int16_t id) { return r.GetReal(id); },
        [](const RoadSettings& r, int16_t id) { return r.GetShort(id); },
        [](RoadSettings& r, int16_t id, double v) { r.SetReal(id, v); },
        [](RoadSettings& r, int16_t id, int16_t v) { r.SetShort(id, v); });
}

TEST(ChangedFieldsTest, ARailwayEditCopiesEachFlaggedParameterFieldWithItsOwnType) {
    CheckCopies<RailwayFieldCount, RailwaySettings>(
        RailwayTypes, [](const RailwaySettings& r, int16_t id) { return r.GetReal(id); },
        [](const RailwaySettings& r, int16_t id) { return r.GetShort(id); },
        [](RailwaySettings& r, int16_t id, double v) { r.SetReal(id, v); },
        [](RailwaySettings& r, int16_t id, int16_t v) { r.SetShort(id, v); });
}

}  // namespace changed_fields_test
