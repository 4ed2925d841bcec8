#pragma once
// Cut, fill and result object sets. The features that reshape the terrain place three objects of one library
// part, told apart by their "operatore" text. The three are tied together by the partner GUID texts of their
// element data records, by the terrain mesh's solid links to the cut ('SSUU') and fill ('SADD') objects, and by
// the presence parameters "IDresult", "IDcut" and "IDfill" (-1 missing, 0 present).
//
// The passes here keep such sets whole and in step after the user's edits: an edited object's placement and
// parameters reach its two partners, the rest of a broken set goes, and copies of cut and fill objects are
// removed while a copied result object loses its links. None shows a message; each answers false (or 0) and
// leaves the model as far as it got. Layer states and the current database are put back on every path.
#include "elements/BaseCls.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"

#include <cstdint>
#include <functional>

enum class ObjectRole : int32_t { Cut = 0, Fill = 1, Result = 2 };

// "result" and "fill" compare exactly; every other text (also an empty one) is a cut.
ObjectRole RoleOfOperator(const QV_String& operatorText);
// The kinds that place object sets: road, plateau, sidewalk, sloped plateau and railway.
bool IsObjectSetKind(int32_t kind);
// The two partner GUID texts of a role taken from a record (cut: result and fill; fill: result and cut; result:
// cut and fill).
void PartnerLinksOfRole(ObjectRole role, const ElemDescriptor& record, QV_String& first, QV_String& second);

// Solid links of the terrain mesh held in obj.element: operatorA cuts it ('SSUU'), then operatorB adds to it
// ('SADD'), flags 1. A link that exists already counts as made; the second is not tried after a failed first.
bool LinkElements(const BaseCls& obj, const API_Guid& operatorA, const API_Guid& operatorB);

// Writes "IDresult", "IDcut" and "IDfill" of the object (-1 for a null GUID, 0 otherwise, stopping at the first
// failed set) for the set kinds, and stores its memo back (also for other kinds, unchanged).
bool WriteLinkPresenceParams(const API_Elem_Head& head, const API_Guid& resultGuid, const API_Guid& cutGuid,
                             const API_Guid& fillGuid, int32_t kind);

// Brings the two partners of an edited object in step with it: element information text, placement and every
// parameter but "IDresult", "IDcut", "IDfill", "IDterrain" and "operatore". 1 when the set is in step or there
// was nothing to do (a missing partner link, a partner whose back link names another object), 0 on failure.
int32_t SyncSiblingObjects(const API_Elem_Head& head, int32_t kind, bool switchToPlan);
// SyncSiblingObjects for each changed object of the kind that names both partners. Heads whose record is of
// another kind (or none) are skipped; false when an element, its record or its parameters cannot be read.
bool SyncChangedObjects(int32_t kind, const QV_List<API_Elem_Head>& heads);
// Deletes every object of the kind whose set lacks a member, together with the members still present; then
// ResetTerrainLevels over the objects left.
bool DeleteBrokenSets(int32_t kind);
// Plateaus (kinds 7 and 19) only: the skirt value of each terrain mesh solid-linked to objects of the list is
// raised to the level of the highest of those objects whose level is 0 or below when it lies lower; its base
// level never changes. A mesh without such objects keeps its skirt.
bool ResetTerrainLevels(int32_t kind, const QV_List<API_Element>& objects);
// The user's copies of objects of the kind: copies of cut and fill objects are deleted (in one call); a copied
// result object is observed and loses its links. Heads that are no objects of the kind are skipped.
bool HandleCopiedObjects(int32_t kind, const QV_List<API_Elem_Head>& heads);

// Appends to `elements` the partners its entries (those present at the call) name and that it does not hold yet.
bool CollectPartners(QV_List<API_Element>& elements, int32_t kind);
// The same over entries with their own kinds; a partner gets the kind of the entry that named it.
bool CollectPartnersByKind(QV_List<ElemEntry>& entries);
