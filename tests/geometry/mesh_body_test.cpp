#include <gtest/gtest.h>

#include <cstring>

#include "MemoryDriver.hpp"
#include "geometry/MeshBody.hpp"

namespace mesh_body_test {

// Stands for the host's element record.
struct ElementStub {
    int32_t typeID;
    uint8_t bytes[252];
};

using Body = MeshBodyOf<ElementStub>;

bool AllZero(const void* p, size_t n) {
    const auto* b = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i)
        if (b[i] != 0) return false;
    return true;
}

void Fill(Body& body) {
    body.element.typeID = 10;
    std::memset(body.secondElement.bytes, 0xAB, sizeof(body.secondElement.bytes));
    MeshBodyPart part;
    part.body = API_BodyType{2, 3, 4, 0};
    part.vertices.Insert(API_VertType{1, 2, 3});
    part.edges.Insert(API_EdgeType{1, 2, 0, 0, 0, 0});
    body.bodyParts.Insert(part);
    body.bodyParts.Insert(part);
    body.vertices.Insert(API_Coord3D{4, 5, 6});
    QV_Poly3D poly;
    poly.points.Insert(API_Coord3D{0, 0, 0});
    poly.points.Insert(API_Coord3D{1, 0, 0});
    body.polygons.Insert(poly);
    body.polygonSizes.Insert(2);
    body.angles.Insert(0.5);
}

TEST(MeshBodyTest, ResetOfAnEmptyBodyAllocatesNothing) {
    Body body;
    const uint64_t before = MemoryDriver::AllocationCount();
    body.Reset();
    EXPECT_EQ(MemoryDriver::AllocationCount(), before);
    EXPECT_EQ(body.bodyParts.GetCount(), 0);
    EXPECT_TRUE(AllZero(&body.element, sizeof(body.element)));
}

TEST(MeshBodyTest, ResetEmptiesEverything) {
    const int64_t handles = MemoryDriver::LiveHandleCount();
    {
        Body body;
        Fill(body);
        EXPECT_EQ(body.bodyParts[1].vertices.GetCount(), 1);
        body.Reset();
        EXPECT_EQ(body.bodyParts.GetCount(), 0);
        EXPECT_EQ(body.vertices.GetCount(), 0);
        EXPECT_EQ(body.polygons.GetCount(), 0);
        EXPECT_EQ(body.polygonSizes.GetCount(), 0);
        EXPECT_EQ(body.angles.GetCount(), 0);
        EXPECT_EQ(BMGetHandleSize(body.bodyParts.GetHandle()), 0);
        EXPECT_EQ(BMGetHandleSize(body.angles.GetHandle()), 0);
        EXPECT_TRUE(AllZero(&body.element, sizeof(body.element)));
        EXPECT_TRUE(AllZero(&body.secondElement, sizeof(body.secondElement)));
        // Usable again after a reset.
        Fill(body);
        EXPECT_EQ(body.bodyParts.GetCount(), 2);
    }
    // Destruction frees the nested lists too.
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);
}

TEST(MeshBodyTest, BodyPartsCopyDeepAndClear) {
    MeshBodyPart a;
    a.body = API_BodyType{1, 1, 1, 7};
    a.vertices.Insert(API_VertType{1, 2, 3});
    MeshBodyPart b(a);
    b.vertices[0].x = 9;
    EXPECT_EQ(a.vertices[0].x, 1.0);
    a.Clear();
    EXPECT_TRUE(AllZero(&a.body, sizeof(a.body)));
    EXPECT_EQ(a.vertices.GetCount(), 0);
    EXPECT_EQ(b.body.status, 7);
    EXPECT_EQ(b.vertices.GetCount(), 1);
}

}  // namespace mesh_body_test
