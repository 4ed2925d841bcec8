// Groups in the stand-in host: the suspension the module reads and turns, and a new group made of listed elements,
// all of them or none.
#include "ProjectHost.hpp"

namespace groups_test {

class GroupsTest : public ProjectHostTest {};

TEST_F(GroupsTest, SuspensionTurnsAndAGroupTakesEveryListedElementOrNone) {
    bool suspended = true;
    ASSERT_EQ(ACAPI_Environment(APIEnv_IsSuspendGroupOnID, &suspended), NoError);
    EXPECT_FALSE(suspended);
    ASSERT_EQ(ACAPI_Database(APIDb_ToolSuspendGroupID), NoError);
    ASSERT_EQ(ACAPI_Environment(APIEnv_IsSuspendGroupOnID, &suspended), NoError);
    EXPECT_TRUE(suspended);

    const API_Guid a = PlaceHotspot("a"), b = PlaceHotspot("b"), c = PlaceHotspot("c");
    const API_Guid missing = {7, 7, 7, {7, 7}, {7, 7, 7, 7, 7, 7}};
    const API_Guid refused[] = {a, missing};
    API_ElemGuidList list = {refused, 2};
    EXPECT_NE(Command([&] { return ACAPI_Database(APIDb_ToolGroupID, &list); }), NoError);
    EXPECT_TRUE(Db().Find(a)->record.header.groupGuid == APINULLGuid);
    list = {refused, 1};  // one element is no group
    EXPECT_EQ(Command([&] { return ACAPI_Database(APIDb_ToolGroupID, &list); }), APIERR_BADPARS);

    const API_Guid first[] = {a, b};
    const API_Guid second[] = {c, a};
    list = {first, 2};
    ASSERT_EQ(Command([&] { return ACAPI_Database(APIDb_ToolGroupID, &list); }), NoError);
    const API_Guid group = Db().Find(a)->record.header.groupGuid;
    EXPECT_FALSE(group == APINULLGuid);
    EXPECT_TRUE(Db().Find(b)->record.header.groupGuid == group);
    // A later group is a new one: its elements leave the one they were in.
    list = {second, 2};
    ASSERT_EQ(Command([&] { return ACAPI_Database(APIDb_ToolGroupID, &list); }), NoError);
    EXPECT_TRUE(Db().Find(c)->record.header.groupGuid == Db().Find(a)->record.header.groupGuid);
    EXPECT_FALSE(Db().Find(a)->record.header.groupGuid == group);
    EXPECT_TRUE(Db().Find(b)->record.header.groupGuid == group);
}

}  // namespace groups_test
