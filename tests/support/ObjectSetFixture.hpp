#pragma once
// A stand-in host with the module's element-event handler installed, a library part for the cut, fill and result
// objects of a road, and shortcuts that place a terrain mesh and a linked set the way the road tool does.
#include "ProjectHost.hpp"

#include "elements/BaseCls.hpp"
#include "elements/BaseLP.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/ObjectSets.hpp"
#include "foundation/ACAPI.hpp"
#include "elements/AddOnObjects.hpp"
#include "shell/Notifications.hpp"
#include "elements/ChangeElementMemo.hpp"

#include <string>

struct PlacedSet {
    API_Guid cut = {};
    API_Guid fill = {};
    API_Guid result = {};
};

class ObjectSetTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        const std::string folder = UserFile("setlib");
        std::filesystem::create_directory(folder);
        std::ofstream(folder + "/VY_ROAD.lpd")
            << "name = VY_ROAD\n"
               "guid = {33333333-3333-3333-3333-333333333333}-{00000000-0000-0000-0000-000000000000}\n"
               "type = object\nparam A length = 1\nparam B length = 1\n"
               "param IDresult integer = -1\nparam IDcut integer = -1\nparam IDfill integer = -1\n"
               "param IDterrain integer = -1\nparam operatore string = \"cut\"\n"
               "param larghezza length = 3\nparam livello length = 0\n";
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(folder, &why)) << why;
        setLib = host->Project().libraries.FindByName("VY_ROAD", 0);
        ASSERT_GT(setLib, 0);
        PendingUpdate.Reset();
        ElementWritten = 0;
        ASSERT_EQ(host->CatchNewElement(nullptr, FrameworkStepsHandler), NoError);
        ASSERT_EQ(host->InstallElementObserver(FrameworkStepsHandler), NoError);
    }
    void TearDown() override {
        PendingUpdate.Reset();
        ElementWritten = 0;
        ProjectHostTest::TearDown();
    }

    // The module's element-event handler running the framework's own steps of the model update alone.
    static GSErrCode FrameworkStepsHandler(const API_NotifyElementType* event) {
        return HandleElementEvent(event, []() -> const ModelUpdateSteps& {
            static const ModelUpdateSteps steps = FrameworkModelUpdateSteps();
            return steps;
        });
    }

    static QV_String Text(const API_Guid& g) {
        QV_String t;
        GuidToText(t, g);
        return t;
    }
    static API_Element Get(const API_Guid& g) {
        API_Element e = {};
        e.header.guid = g;
        EXPECT_EQ(ACAPI_Element_Get(&e), NoError);
        return e;
    }
    bool Alive(const API_Guid& g) { return Db().Find(g) != nullptr; }

    // A terrain mesh with its record (kind 4).
    API_Guid PlaceTerrain() {
        API_Guid mesh = PlaceMesh("terrain");
        ElemDescriptor d;
        d.TerrainId = QV_String("T_001");
        EXPECT_EQ(Command([&] {
                      return ElemUserData_WriteRecord(d, ElemKind_Terrain, Get(mesh).header) ? NoError : GSErrCode(-1);
                  }),
                  NoError);
        return mesh;
    }

    // One object of the set with its "operatore" (module side: inside a command).
    API_Guid PlaceSetObject(const char* role) {
        API_Element e = {};
        e.header.typeID = API_ObjectID;
        EXPECT_EQ(ACAPI_Element_GetDefaults(&e, nullptr), NoError);
        e.object.libInd = setLib;
        e.object.pos = {5.0, 5.0};
        EXPECT_EQ(ACAPI_Element_Create(&e, nullptr), NoError);
        EXPECT_TRUE(SetText(e.header.guid, 7, role));
        return e.header.guid;
    }
    bool SetText(const API_Guid& g, int32_t index, const char* text) {
        API_Element e = Get(g);
        API_ElementMemo memo = {};
        if (ACAPI_Element_GetMemo(g, &memo, AttachMemoMask) != NoError) return false;
        BaseIDLP view(ElemKind_Road);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_String value(text);
        bool ok = view.GetSetString(index, value, LPMode_Set) && ChangeElementMemo(&e, &memo) == NoError;
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        return ok;
    }
    double Number(const API_Guid& g, const char* name) {
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(g, &memo, AttachMemoMask), NoError);
        BaseIDLP view(ElemKind_Road);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        const double v = view.GetParamDouble(QV_String(name));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        return v;
    }
    ElemDescriptor Record(const API_Guid& g, int32_t kind = ElemKind_Road) {
        ElemDescriptor d;
        EXPECT_TRUE(ElemUserData_Read(d, kind, Get(g).header));
        return d;
    }

    // Places a linked set over the terrain as the road tool does: the module's own writes (ElementWritten), the
    // partner links in each record, the presence parameters, the solid links, and the objects observed.
    PlacedSet PlaceLinkedSet(const API_Guid& mesh) {
        PlacedSet set;
        ElementEvents::ModuleCall call(host->Events());
        const GSErrCode err = Command([&]() -> GSErrCode {
            ElementWritten = 1;
            set.cut = PlaceSetObject("cut");
            set.fill = PlaceSetObject("fill");
            set.result = PlaceSetObject("result");
            for (const API_Guid& g : {set.cut, set.fill, set.result}) {
                ElemDescriptor d;
                d.ResultGuid = Text(set.result);
                d.CutGuid = Text(set.cut);
                d.FillGuid = Text(set.fill);
                d.TerrainGuid = Text(mesh);
                if (!ElemUserData_WriteRecord(d, ElemKind_Road, Get(g).header)) return -1;
                if (!WriteLinkPresenceParams(Get(g).header, set.result, set.cut, set.fill, ElemKind_Road)) return -2;
                if (ACAPI_Element_AttachObserver(g) != NoError) return -3;
            }
            BaseCls terrain;
            terrain.element = Get(mesh);
            return LinkElements(terrain, set.cut, set.fill) ? NoError : -4;
        });
        EXPECT_EQ(err, NoError);
        return set;
    }

    int32_t CountRoadObjects() {
        QV_List<API_Element> list;
        EXPECT_EQ(CollectAddOnObjects(ElemKind_Road, API_ObjectID, 0, list), 1);
        return list.GetCount();
    }

    int32_t setLib = 0;
};
