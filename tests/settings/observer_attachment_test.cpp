// Observer attachment at palette open: the add-on's elements already in the project are observed, each by the
// kinds of its element type; other elements are left alone, and elements whose reads fail too, which is told.
#include "ProjectHost.hpp"
#include "MemoryDriver.hpp"

#include "elements/ElemDataRecord.hpp"
#include "foundation/ErrorCode.hpp"
#include "settings/ObserverAttachment.hpp"

namespace observer_attachment_test {

class ObserverAttachmentTest : public ProjectHostTest {
protected:
    void Mark(const API_Guid& guid, int32_t kind) {
        const API_Elem_Head head = Db().Find(guid)->record.header;
        bool ok = false;
        Command([&] {
            ok = ElemUserData_WriteRecord(ElemDescriptor(), kind, head);
            return NoError;
        });
        ASSERT_TRUE(ok) << kind;
    }
    bool Observed(const API_Guid& guid) { return host->Events().IsObserved(guid); }
};

TEST_F(ObserverAttachmentTest, EachElementTypeIsObservedByItsOwnKinds) {
    const size_t handles = MemoryDriver::LiveHandleCount();
    const API_Guid point = PlaceHotspot("point");
    const API_Guid bare = PlaceHotspot("bare");
    API_Guid line = {};
    ASSERT_EQ(Db().PlaceLine({0, 0}, {3, 1}, 1, "line", &line), NoError);
    const API_Guid terrain = PlaceMesh("terrain");
    const API_Guid basin = PlaceObject(API_ObjectID, libA, "basin");
    const API_Guid railway = PlaceObject(API_ObjectID, libA, "railway");
    const API_Guid pointObject = PlaceObject(API_ObjectID, libA, "point object");
    const API_Guid constraintMesh = PlaceMesh("constraint mesh");
    Mark(point, ElemKind_Point);
    Mark(line, ElemKind_Constraint);
    Mark(terrain, ElemKind_Terrain);
    Mark(basin, ElemKind_Basin);  // twelve kinds are tried before it
    Mark(railway, ElemKind_Railway);
    Mark(pointObject, ElemKind_Point);          // a kind that placed objects never carry
    Mark(constraintMesh, ElemKind_Constraint);  // nor meshes

    // Any read that fails, or the attach itself, is told; what could not be looked at is not attached.
    for (const char* fails :
         {"Element_Get", "Element_GetUserData", "Element_GetElemList", "Element_Filter", "Element_AttachObserver"}) {
        ASSERT_TRUE(host->FailCall(fails, -1, APIERR_GENERAL));
        EXPECT_EQ(AttachObserversToAddOnElements(), ErrObjectInformation) << fails;
        for (const API_Guid& g : {point, line, terrain, basin, railway}) EXPECT_FALSE(Observed(g)) << fails;
        host->ClearFailures();
    }
    // One element that cannot be read leaves the others observed.
    ASSERT_TRUE(host->FailCallAfter("Element_GetUserData", -1, APIERR_GENERAL, 0, 1));
    EXPECT_EQ(AttachObserversToAddOnElements(), ErrObjectInformation);
    EXPECT_FALSE(Observed(point));
    for (const API_Guid& g : {line, terrain, basin, railway}) EXPECT_TRUE(Observed(g));
    host->ClearFailures();

    EXPECT_EQ(AttachObserversToAddOnElements(), 0);
    for (const API_Guid& g : {point, line, terrain, basin, railway}) EXPECT_TRUE(Observed(g));
    for (const API_Guid& g : {bare, pointObject, constraintMesh}) EXPECT_FALSE(Observed(g));
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);
}

}  // namespace observer_attachment_test
