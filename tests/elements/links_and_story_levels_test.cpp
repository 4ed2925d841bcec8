// Unlinking an element from all its solid links, and the object's terrain level taken from its story, on the
// stand-in host.
#include "ParamRecords.hpp"
#include "ProjectHost.hpp"

#include "elements/LevelOnStory.hpp"
#include "elements/SolidLinkRemoval.hpp"
#include "foundation/ACAPI.hpp"

#include "APIInteraction.hpp"
#include "GSArray.hpp"

namespace links_and_story_levels_test {

class LinksAndLevelsTest : public ProjectHostTest {
protected:
    GSErrCode Link(const API_Guid& target, const API_Guid& op) {
        return Command([&] { return ACAPI_Element_SolidLink_Create(target, op, APISolid_SubtractDownwards, 1); });
    }
    uint32_t Operators(const API_Guid& target) {
        GS::Array<API_Guid> ops;  // the host answers an error for none
        return ACAPI_Element_SolidLink_GetOperators(target, &ops) == NoError ? ops.GetSize() : 0u;
    }
    uint32_t Targets(const API_Guid& op) {
        GS::Array<API_Guid> targets;
        return ACAPI_Element_SolidLink_GetTargets(op, &targets) == NoError ? targets.GetSize() : 0u;
    }
    bool Remove(const API_Guid& g) {
        bool ok = false;
        Command([&] { return ok = RemoveTargetSolidLinks(Db().Find(g)->record), NoError; });
        return ok;
    }
};

TEST_F(LinksAndLevelsTest, AnElementLeavesEveryLinkItTakesPartInAndNoOther) {
    const API_Guid mesh = PlaceMesh("M");
    const API_Guid otherMesh = PlaceMesh("N");
    const API_Guid a = PlaceObject(API_ObjectID, libA, "A");
    const API_Guid b = PlaceObject(API_ObjectID, libB, "B");
    ASSERT_EQ(Link(mesh, a), NoError) << Db().LastRefusal();
    ASSERT_EQ(Link(mesh, b), NoError);
    ASSERT_EQ(Link(otherMesh, a), NoError);

    EXPECT_FALSE(RemoveTargetSolidLinks(Db().Find(a)->record));  // outside an undoable command the host refuses
    EXPECT_EQ(Targets(a), 2u);

    EXPECT_TRUE(Remove(a));
    EXPECT_EQ(Targets(a), 0u);
    EXPECT_EQ(Operators(mesh), 1u);
    EXPECT_EQ(Operators(otherMesh), 0u);
    EXPECT_EQ(Targets(b), 1u);
    EXPECT_TRUE(Remove(a));  // nothing left to remove

    EXPECT_TRUE(Remove(mesh));
    EXPECT_EQ(Operators(mesh), 0u);
    EXPECT_EQ(Targets(b), 0u);
}

TEST_F(LinksAndLevelsTest, TheOriginalMeshLevelAddsTheStorysElevation) {
    Db().SetStory(0, 1.5, "Ground");
    Db().SetStory(1, 3.25, "First");
    Db().SetStory(2, -6.5, "Cellar");
    ParamRecords list;
    list.Real("original_mesh_level", 99.0);
    BaseIDLP view(12, list.handle, list.Count());
    const std::pair<int16_t, double> stories[] = {{0, 1.5}, {1, 3.25}, {2, -6.5}};
    for (const auto& story : stories)
        for (double level : {0.0, 0.75, -12.0, 104.125}) {
            ASSERT_TRUE(SetLPLevelOnStory(view, level, story.first, LPMode_Set));
            EXPECT_DOUBLE_EQ(list.Find("original_mesh_level")->value.real, level + story.second);
        }
    list.Find("original_mesh_level")->value.real = 7.0;
    EXPECT_FALSE(SetLPLevelOnStory(view, 1.0, 9, LPMode_Set));  // no such story
    EXPECT_FALSE(SetLPLevelOnStory(view, 1.0, 1, LPMode_Get));
    EXPECT_EQ(list.Find("original_mesh_level")->value.real, 7.0);

    ParamRecords without;
    without.Real("A", 1.0);
    BaseIDLP bare(12, without.handle, without.Count());
    EXPECT_FALSE(SetLPLevelOnStory(bare, 1.0, 1, LPMode_Set));
}

}  // namespace links_and_story_levels_test
