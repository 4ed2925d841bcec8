#pragma once
// A stand-in host over the add-on's own library with the built-in settings, and the steps the tool tests share:
// a terrain mesh placed with its record, elements read back, objects of one kind and their parameters, a command
// run with a host function refused.
#include "ProjectHost.hpp"

#include "elements/BaseLP.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "elements/ElemDataRecord.hpp"
#include "foundation/ACAPI.hpp"
#include "settings/Settings.hpp"

#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <vector>

class LibraryHostTest : public OwnLibraryHostTest {
protected:
    void SetUp() override {
        OwnLibraryHostTest::SetUp();
        GlobalSettings.Reset();
        GlobalSettings.SetBuiltInDefaults(QV_String("Arial"));
    }
    API_Element Get(const API_Guid& g) {
        API_Element e = {};
        e.header.guid = g;
        EXPECT_EQ(ACAPI_Element_Get(&e), NoError);
        return e;
    }
    // A mesh through `points` with the add-on's terrain record, as the terrain tools leave it.
    API_Element PlaceTerrain(const std::vector<API_Coord3D>& points, const std::string& name = "terrain") {
        API_Guid g = {};
        EXPECT_EQ(Db().PlaceMeshFromPoints(points, 1, name, &g), NoError);
        ElemDescriptor d;
        d.OwnGuid = *reinterpret_cast<const GS::Guid*>(&g);
        d.Serial = 1;
        EXPECT_EQ(Command([&] {
                      return ElemUserData_WriteRecord(d, ElemKind_Terrain, Get(g).header) ? NoError : GSErrCode(-1);
                  }),
                  NoError);
        return Get(g);
    }
    // The library objects carrying a record of `kind`.
    std::vector<API_Element> Objects(int32_t kind) {
        std::vector<API_Element> out;
        for (const API_Guid& g : Db().AllElements()) {
            API_Element e = Get(g);
            ElemDescriptor d;
            if (e.header.typeID == API_ObjectID && ElemUserData_Read(d, kind, e.header)) out.push_back(e);
        }
        return out;
    }
    double Param(const API_Element& e, const char* name) {
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(e.header.guid, &memo, AttachMemoMask), NoError);
        BaseLP view;
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        const double v = view.GetParamDouble(QV_String(name));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        return v;
    }
    // The obstacles an earthwork object of `kind` carries: each one's node count, and their nodes in a row.
    void Obstacles(const API_Guid& g, int32_t kind, QV_List<int32_t>& counts, QV_List<API_Coord3D>& nodes) {
        counts.Clear();
        nodes.Clear();
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(g, &memo, AttachMemoMask), NoError);
        BaseIDLP view(kind);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        EXPECT_TRUE(BaseIDLP::ExchangeObstacles(view, counts, nodes, LPMode_Get));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
    }
    // Sets one number parameter of the placed object `e`, as a hand edit in the host would.
    void SetParam(API_Element e, const char* name, double value) {
        API_ElementMemo memo = {};
        ASSERT_EQ(ACAPI_Element_GetMemo(e.header.guid, &memo, AttachMemoMask), NoError);
        BaseLP view;
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        ASSERT_GE(view.SetParamDouble(QV_String(name), value), 0);
        memo.params = reinterpret_cast<API_AddParType**>(view.params);
        view.Detach();
        ASSERT_EQ(Command([&] { return ChangeElementMemo(&e, &memo); }), NoError);
        ACAPI_DisposeElemMemoHdls(&memo);
    }
    // With host function `function` (`key`: one selector or menu id, -1 any) refused once it has served `passes`
    // calls, `command` answers `expected` and leaves the project exactly as it was (or, given `project`, what that
    // shows of it).
    void ExpectRefusalTakenBack(const std::string& function, int32_t key, int32_t passes, int32_t expected,
                                const std::function<int32_t()>& command,
                                const std::function<nlohmann::ordered_json()>& project = nullptr) {
        SCOPED_TRACE(function + " refused after " + std::to_string(passes) + " calls");
        const auto now = [&] { return project ? project() : Db().ToJson(); };
        const nlohmann::ordered_json before = now();
        ASSERT_TRUE(host->FailCallAfter(function, key, APIERR_GENERAL, passes));
        EXPECT_EQ(command(), expected);
        host->ClearFailures();
        EXPECT_TRUE(now() == before);
    }
};
