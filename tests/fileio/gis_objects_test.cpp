// The object mode of the shapefile import over the add-on's own library: which GIS objects fit a table, a new
// object made from the prototype for the ticked fields, and the objects placed from the rings of a shape.
#include "LibraryHost.hpp"
#include "TestSupport.hpp"

#include "fileio/GISObjectPlacement.hpp"
#include "fileio/GISObjects.hpp"
#include "fileio/NewGISObject.hpp"
#include "settings/ProjectOffset.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace gis_objects_test {

struct ParamRow {
    std::string name, description;
    int32_t type;
};

class GISObjectsTest : public LibraryHostTest {
protected:
    void SetUp() override {
        LibraryHostTest::SetUp();
        ProjectOffset.Reset();
        data.shapes.path = QV_String((TestSupport::DataDir() + "/shp/nc.shp").c_str(), Encoding_UTF8);
        ASSERT_TRUE(ReadDBFTable(data));
    }
    std::vector<ParamRow> Params(int32_t index) {
        std::vector<ParamRow> rows;
        GSHandle h = nullptr;
        EXPECT_TRUE(BaseLP::GetLibPartParams(index, &h, nullptr, nullptr, nullptr));
        const GSSize n = h != nullptr ? BMGetHandleSize(h) / GSSize(sizeof(API_AddParType)) : 0;
        for (GSSize i = 0; i < n; ++i) {
            const API_AddParType& p = reinterpret_cast<const API_AddParType*>(*h)[i];
            rows.push_back({p.name, ParamDescription(p).ToStdString(), p.typeID});
        }
        ReleaseParamRecords(&h);
        return rows;
    }
    int32_t FieldNamed(const char* name) {
        for (int32_t f = 0; f < data.fields.GetCount(); ++f)
            if (data.fields[f].name.Compare(QV_String(name)) == 0) return f;
        return -1;
    }
    ShapeImportData data;
};

TEST_F(GISObjectsTest, ObjectsFitByDescriptionAndKind) {
    CollectGISObjectNames(data.options);
    ASSERT_EQ(data.options.allObjects.GetCount(), 2);
    EXPECT_EQ(data.options.allObjects[0].ToStdString(), "GIS_COUNTIES");
    EXPECT_EQ(data.options.allObjects[1].ToStdString(), "GIS_PARCELS");
    // GIS_COUNTIES takes the decimal fields also as length and angle parameters; GIS_PARCELS lacks most fields.
    CollectMatchingGISObjects(data);
    ASSERT_EQ(data.options.matchingObjects.GetCount(), 2);
    EXPECT_EQ(data.options.matchingObjects[0].ToStdString(), "none of these");
    EXPECT_EQ(data.options.matchingObjects[1].ToStdString(), "GIS_COUNTIES");
    EXPECT_TRUE(FieldFitsParam(-3, GISParamAngle));
    EXPECT_FALSE(FieldFitsParam(0, GISParamReal));
    EXPECT_FALSE(FieldFitsParam(1, GISParamInteger));
}

TEST_F(GISObjectsTest, ARefusedReadIsNoObjectThatDoesNotFitAndANameThatCannotBeCheckedIsNotFree) {
    // The host refusing a search, a part's record or its parameters, on any of its calls: a list is given as
    // whole only when it is, never with fewer objects fitting.
    for (const char* function : {"LibPart_Search", "LibPart_Get", "LibPart_GetParams"}) {
        for (int32_t passes = 0; passes < 3; ++passes) {
            ASSERT_TRUE(host->FailCallAfter(function, -1, APIERR_GENERAL, passes));
            const bool named = CollectGISObjectNames(data.options);
            host->ClearFailures();
            ASSERT_TRUE(host->FailCallAfter(function, -1, APIERR_GENERAL, passes));
            const bool matched = CollectMatchingGISObjects(data);
            host->ClearFailures();
            EXPECT_TRUE(!named || data.options.allObjects.GetCount() == 2) << function << passes;
            EXPECT_TRUE(!matched || data.options.matchingObjects.GetCount() == 2) << function << passes;
        }
    }
    EXPECT_TRUE(CollectGISObjectNames(data.options));
    EXPECT_TRUE(CollectMatchingGISObjects(data));
    bool refused = false;
    EXPECT_FALSE(LibPartNameInUse(QV_String("Unused.gsm"), APILib_ObjectID, &refused));
    EXPECT_FALSE(refused);
    ASSERT_TRUE(host->FailCall("LibPart_Search", -1, APIERR_GENERAL));
    EXPECT_TRUE(LibPartNameInUse(QV_String("Unused.gsm"), APILib_ObjectID, &refused));
    host->ClearFailures();
    EXPECT_TRUE(refused);
}

TEST_F(GISObjectsTest, NewObjectKeepsThePrototypesParametersThenOnePerTickedField) {
    int32_t prototype = -1;
    ASSERT_TRUE(FindLibPartIndex(QV_String(GISPrototypeName), APILib_ObjectID, prototype));
    for (const char* name : {"AREA", "NAME", "CRESS_ID", "FIPS"}) data.fields[FieldNamed(name)].selected = 1;
    SetNewObjectParamTable(data.fields);
    const QV_String folder(UserFile("lib").c_str(), Encoding_UTF8);
    int32_t index = -1;
    ASSERT_TRUE(CreateGISLibPart(QV_String("Bench.gsm"), prototype, folder, index));
    std::vector<ParamRow> rows = Params(index);
    const int32_t start = GISAttributeStart();
    ASSERT_EQ(start, 7);
    ASSERT_EQ(rows.size(), size_t(start + 5));
    const std::vector<ParamRow> added = {{"C_1", "Data imported from shapefile", GISParamTitle},
                                         {"R_1", "AREA", GISParamReal},
                                         {"T_1", "NAME", GISParamString},
                                         {"T_2", "FIPS", GISParamString},
                                         {"I_1", "CRESS_ID", GISParamInteger}};
    for (size_t i = 0; i < added.size(); ++i) {
        EXPECT_EQ(rows[start + i].name, added[i].name);
        EXPECT_EQ(rows[start + i].description, added[i].description);
        EXPECT_EQ(rows[start + i].type, added[i].type);
    }
    EXPECT_EQ(rows[3].name, "XYZ");
    // The part derives from the subtype and is found by its base name; a path never becomes one.
    EXPECT_TRUE(LibPartNameInUse(QV_String("Bench.gsm"), APILib_ObjectID));
    API_LibPart part = {};
    part.index = index;
    ASSERT_EQ(ACAPI_LibPart_Get(&part), NoError);
    std::string subtype;
    ASSERT_TRUE(GetLibPartUniqueId(QV_String(GISSubtypeName), APILib_ObjectID, subtype));
    EXPECT_EQ(subtype, part.parentUnID);
    for (const char* bad : {"..\\Bench2", "sub/Bench3", "a\\b", ""})
        EXPECT_FALSE(CreateGISLibPart(QV_String(bad), prototype, folder, index)) << bad;
    // A title the resources would not give is not written into the part: its English text is.
    ASSERT_TRUE(host->FailCall("GetOwnResModule", -1, APIERR_GENERAL));
    SetNewObjectParamTable(data.fields);
    host->ClearFailures();
    ASSERT_GT(GISParamTable.GetCount(), 0);
    EXPECT_TRUE(GISParamTable[0].description == QV_String("Data imported from shapefile"));
}

TEST_F(GISObjectsTest, EachRingIsAClosedObjectWithItsRowsValues) {
    int32_t counties = -1;
    ASSERT_TRUE(FindLibPartIndex(QV_String("GIS_COUNTIES"), APILib_ObjectID, counties));
    // One shape of two square rings, row 2 of the table, whose CRESS_ID is emptied.
    SHPEntityData entity;
    entity.shapeType = 5;
    entity.record = 2;
    for (double x0 : {0.0, 10.0}) {
        SHPPolyData ring;
        for (const API_Coord3D& v : {API_Coord3D{x0, 0, 1}, API_Coord3D{x0 + 5, 0, 2}, API_Coord3D{x0 + 5, 5, 3},
                                     API_Coord3D{x0, 5, 4}, API_Coord3D{x0, 0, 1}})
            ring.vertices.Insert(v);
        entity.parts.Insert(ring);
    }
    data.entities.Insert(entity);
    const int32_t cress = FieldNamed("CRESS_ID");
    const int32_t name = FieldNamed("NAME");
    ASSERT_TRUE(data.values.Replace(data.fields.GetCount() + cress, ""));
    ProjectOffset.shapeHeight = 12.5;
    ASSERT_EQ(Command([&] { return PlaceGISObjects(data, counties, nullptr) ? NoError : GSErrCode(-1); }), NoError);

    std::vector<API_Element> objects;
    for (const API_Guid& g : Db().AllElements()) objects.push_back(Get(g));
    ASSERT_EQ(objects.size(), 2u);
    for (size_t k = 0; k < 2; ++k) {
        API_ElementMemo memo = {};
        ASSERT_EQ(ACAPI_Element_GetMemo(objects[k].header.guid, &memo, AttachMemoMask), NoError);
        GSHandle params = reinterpret_cast<GSHandle>(memo.params);
        const API_AddParType* xyz = FindParam(params, "XYZ");
        ASSERT_NE(xyz, nullptr);
        // The ring's five vertices, then the first again with -1 in the fourth column.
        ASSERT_EQ(xyz->dim1, 6);
        ASSERT_EQ(xyz->dim2, 4);
        const double* cells = reinterpret_cast<const double*>(*xyz->value.array);
        EXPECT_EQ(cells[0], k == 0 ? 0.0 : 10.0);
        EXPECT_EQ(cells[4 * 2 + 2], 3.0);
        EXPECT_EQ(cells[4 * 5 + 0], cells[0]);
        EXPECT_EQ(cells[4 * 5 + 3], -1.0);
        EXPECT_EQ(cells[4 * 4 + 3], 0.0);
        EXPECT_EQ(FindParam(params, "quiota_base")->value.real, 12.5);
        EXPECT_EQ(FindParam(params, "I_1")->value.real, 0.0);
        EXPECT_EQ(QV_String(reinterpret_cast<const void*>(FindParam(params, "T_1")->value.uStr), 0, Encoding_UTF16LE)
                      .ToStdString(),
                  data.Value(2, name));
        ACAPI_DisposeElemMemoHdls(&memo);
    }
}

// An object that cannot be made part-way: those placed before it go again, so the failed import leaves nothing.
TEST_F(GISObjectsTest, AnObjectThatCannotBeMadeTakesBackThoseBeforeIt) {
    int32_t counties = -1;
    ASSERT_TRUE(FindLibPartIndex(QV_String("GIS_COUNTIES"), APILib_ObjectID, counties));
    SHPEntityData entity;
    entity.shapeType = 3;
    entity.record = 1;
    for (double x0 : {0.0, 10.0, 20.0, 30.0}) {
        SHPPolyData line;
        line.vertices.Insert(API_Coord3D{x0, 0, 1});
        line.vertices.Insert(API_Coord3D{x0 + 5, 5, 2});
        entity.parts.Insert(line);
    }
    data.entities.Insert(entity);
    auto place = [&] { return Command([&] { return PlaceGISObjects(data, counties, nullptr) ? NoError : -1; }); };
    for (int32_t passes : {0, 2, 3}) {
        ASSERT_TRUE(host->FailCallAfter("Element_Create", -1, APIERR_GENERAL, passes));
        EXPECT_NE(place(), NoError) << passes;
        host->ClearFailures();
        EXPECT_TRUE(Db().AllElements().empty()) << passes;
    }
    EXPECT_EQ(place(), NoError);
    EXPECT_EQ(Db().AllElements().size(), 4u);
}

}  // namespace gis_objects_test
