// Picked members of cut, fill and result sets reduced to their result objects, which become the selection.
#include "ObjectSetFixture.hpp"

#include "elements/ResultObjects.hpp"

#include <algorithm>

namespace result_objects_test {

using ResultObjectsTest = ObjectSetTest;

std::vector<API_Guid> Guids(const QV_List<API_Element>& list) {
    std::vector<API_Guid> out;
    for (int32_t i = 0; i < list.GetCount(); ++i) out.push_back(list[i].header.guid);
    return out;
}

bool SameSet(std::vector<API_Guid> a, std::vector<API_Guid> b) {
    GuidLess less;
    std::sort(a.begin(), a.end(), less);
    std::sort(b.begin(), b.end(), less);
    return a == b;
}

TEST_F(ResultObjectsTest, AnyMembersPickedGiveEachSetsResultOnceAndSelectIt) {
    const API_Guid mesh = PlaceTerrain();
    const PlacedSet one = PlaceLinkedSet(mesh);
    const PlacedSet two = PlaceLinkedSet(mesh);
    const PlacedSet three = PlaceLinkedSet(mesh);

    QV_List<API_Element> picked;
    for (const API_Guid& g : {one.cut, two.result, two.fill, one.fill}) picked.Insert(Get(g));
    ASSERT_TRUE(KeepResultObjects(picked, ElemKind_Road));
    EXPECT_TRUE(SameSet(Guids(picked), {one.result, two.result}));
    EXPECT_TRUE(SameSet(Db().Selection(), {one.result, two.result}));

    QV_List<API_Element> onlyResult;
    onlyResult.Insert(Get(three.result));
    ASSERT_TRUE(KeepResultObjects(onlyResult, ElemKind_Road));
    EXPECT_TRUE(SameSet(Guids(onlyResult), {three.result}));
    EXPECT_TRUE(SameSet(Db().Selection(), {three.result}));
}

TEST_F(ResultObjectsTest, AnElementWithoutParametersFails) {
    const API_Guid mesh = PlaceTerrain();
    const PlacedSet one = PlaceLinkedSet(mesh);
    QV_List<API_Element> picked;
    picked.Insert(Get(one.result));
    picked.Insert(Get(PlaceFill("F")));
    EXPECT_FALSE(KeepResultObjects(picked, ElemKind_Road));
}

}  // namespace result_objects_test
