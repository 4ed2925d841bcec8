// Memos and parameter lists fetched from the host, owned: every part is freed once, on every path, also when the
// host refuses to free them.
#include "MemoryDriver.hpp"
#include "ProjectHost.hpp"
#include "foundation/OwnedMemo.hpp"
#include "foundation/OwnedParams.hpp"

#include <string>
#include <vector>

namespace owned_memo_test {

struct Live {
    int64_t handles, ptrs, blocks;
    bool operator==(const Live& o) const { return handles == o.handles && ptrs == o.ptrs && blocks == o.blocks; }
    bool operator!=(const Live& o) const { return !(*this == o); }
};

Live Now() {
    return {MemoryDriver::LiveHandleCount(), MemoryDriver::LivePtrCount(), MemoryDriver::LiveManagerBlockCount()};
}

std::ostream& operator<<(std::ostream& out, const Live& l) {
    return out << l.handles << " handles, " << l.ptrs << " blocks, " << l.blocks << " manager blocks";
}

StoredParam Param(const char* name, int32_t dim1, int32_t dim2) {
    StoredParam p = {};
    std::snprintf(p.record.name, sizeof p.record.name, "%s", name);
    p.record.typeID = 2;  // a real number
    p.record.dim1 = dim1;
    p.record.dim2 = dim2;
    if (p.IsArray()) {
        const std::vector<double> cells(size_t(dim1 * dim2), 2.5);
        p.cells.assign(reinterpret_cast<const char*>(cells.data()), cells.size() * sizeof(double));
    } else {
        p.record.value.real = 1.5;
    }
    return p;
}

// A memo with every part the host hands out, the parameter list with array cells among them.
StoredMemo EveryPart() {
    StoredMemo m;
    m.coords = std::vector<API_Coord>{{0, 0}, {0, 0}, {4, 0}, {4, 3}, {0, 0}};
    m.pends = std::vector<int32_t>{0, 4};
    m.parcs = std::vector<API_PolyArc>{{1, 2, 0.5}};
    m.vertexIDs = std::vector<uint32_t>{3, 1, 2, 3, 1};
    m.edgeIDs = std::vector<uint32_t>{0, 1, 2, 3, 0};
    m.contourIDs = std::vector<uint32_t>{0, 1};
    m.edgeTrims = std::vector<API_EdgeTrim>(5, API_EdgeTrim{});
    m.sideMaterials = std::vector<API_OverriddenAttribute>(3, API_OverriddenAttribute{});
    m.meshPolyZ = std::vector<double>{0, 1, 2, 3, 1};
    m.meshLevelCoords = std::vector<API_MeshLevelCoord>(2, API_MeshLevelCoord{});
    m.meshLevelEnds = std::vector<int32_t>{2};
    m.bezierDirs = std::vector<API_SplineDir>(4, API_SplineDir{});
    m.params = std::vector<StoredParam>{Param("A", 0, 0), Param("nodi", 3, 2), Param("B", 0, 0), Param("v", 4, 1)};
    m.elemInfoString = std::u16string(u"a name long enough to need a buffer of its own");
    m.textContent = std::string("first\r\nsecond");
    m.textLineStarts = std::vector<int32_t>{0, 7};
    return m;
}

const uint64_t Masks[] = {APIMemoMask_Polygon,
                          APIMemoMask_EdgeTrims,
                          APIMemoMask_SideMaterials,
                          APIMemoMask_MeshPolyZ,
                          APIMemoMask_MeshLevel,
                          APIMemoMask_BezierDirs,
                          APIMemoMask_AddPars,
                          APIMemoMask_ElemInfoString,
                          APIMemoMask_TextContent,
                          APIMemoMask_AddPars | APIMemoMask_Polygon,
                          APIMemoMask_All};

class OwnedMemoTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        API_Element e = {};
        e.header.typeID = API_ObjectID;
        ASSERT_EQ(Db().GetDefaults(&e, nullptr), NoError);
        e.object.libInd = libA;
        ASSERT_EQ(Db().PlaceElement(&e, EveryPart(), "full", "Place"), NoError);
        guid = e.header.guid;
    }

    // Every mask read into an owner (twice: the second read frees the first) leaves nothing alive behind it.
    void ReadEveryMaskAndDrop() {
        for (uint64_t mask : Masks) {
            const Live before = Now();
            {
                OwnedMemo memo;
                ASSERT_EQ(memo.Read(guid, mask), NoError) << std::hex << mask;
                const Live once = Now();
                // The ID text alone is a C++ object the memory counts do not see (the sanitizer run does).
                if (mask != APIMemoMask_ElemInfoString) {
                    EXPECT_NE(once, before) << std::hex << mask;
                }
                ASSERT_EQ(memo.Read(guid, mask), NoError) << std::hex << mask;
                EXPECT_EQ(Now(), once) << std::hex << mask;
            }
            EXPECT_EQ(Now(), before) << std::hex << mask;
        }
    }

    API_Guid guid = {};
};

TEST_F(OwnedMemoTest, EveryPartIsFreedByTheHost) { ReadEveryMaskAndDrop(); }

TEST_F(OwnedMemoTest, EveryPartIsFreedWhenTheHostRefusesToFreeIt) {
    ASSERT_TRUE(host->FailCall("DisposeElemMemoHdls", -1, APIERR_GENERAL));
    ReadEveryMaskAndDrop();

    // A memo the module filled itself and handed to the refusing host goes the same way.
    const Live before = Now();
    API_ElementMemo memo = {};
    ASSERT_EQ(ACAPI_Element_GetMemo(guid, &memo, APIMemoMask_All), NoError);
    EXPECT_NE(ACAPI_DisposeElemMemoHdls(&memo), NoError);
    EXPECT_EQ(Now(), before);
    EXPECT_EQ(memo.coords, nullptr);
    EXPECT_EQ(memo.params, nullptr);
    EXPECT_EQ(memo.elemInfoString, nullptr);
}

TEST_F(OwnedMemoTest, AReadThatRunsOutOfMemoryLeavesNothingBehind) {
    MemoryDriver::ScopedReset reset;
    const Live before = Now();
    bool succeeded = false;
    for (int64_t n = 0; !succeeded && n < 200; ++n) {
        {
            OwnedMemo memo;
            MemoryDriver::FailAllocationsAfter(n);
            succeeded = memo.Read(guid, APIMemoMask_All) == NoError;
            MemoryDriver::Reset();
        }
        EXPECT_EQ(Now(), before) << "after " << n << " allocations";
    }
    EXPECT_TRUE(succeeded);
}

TEST_F(OwnedMemoTest, ReleaseHandsThePartsOverAndDisposeFreesThemOnce) {
    const Live before = Now();
    API_ElementMemo taken = {};
    {
        OwnedMemo memo;
        ASSERT_EQ(memo.Read(guid, APIMemoMask_All), NoError);
        taken = memo.Release();
        EXPECT_EQ(memo->params, nullptr);
    }
    EXPECT_NE(Now(), before);
    ASSERT_NE(taken.params, nullptr);
    DisposeMemo(taken);
    EXPECT_EQ(Now(), before);
    DisposeMemo(taken);  // an emptied memo is left alone
    EXPECT_EQ(Now(), before);
}

TEST_F(OwnedMemoTest, AParameterListIsFreedWithItsArrayCells) {
    const Live before = Now();
    {
        OwnedParams params;
        double a = 0, b = 0;
        int32_t count = 0;
        ASSERT_EQ(ACAPI_LibPart_GetParams(libA, &a, &b, &count, params.Out()), NoError);
        ASSERT_NE(params.Get(), nullptr);
        const Live once = Now();
        EXPECT_GT(once.handles - before.handles, 1);  // the list and the array's cells
        ASSERT_EQ(ACAPI_LibPart_GetParams(libA, &a, &b, &count, params.Out()), NoError);
        EXPECT_EQ(Now(), once);

        OwnedParams moved(std::move(params));
        EXPECT_EQ(params.Get(), nullptr);
        GSHandle taken = moved.Release();
        EXPECT_EQ(Now(), once);
        moved.Reset(taken);
    }
    EXPECT_EQ(Now(), before);
}

}  // namespace owned_memo_test
