#include "project/ProjectMemos.hpp"

#include "GSRoot.hpp"

#include <cstring>

GSErrCode ProjectMemos::GetMemo(const API_Guid& guid, API_ElementMemo* memo, uint64_t mask) const {
    if (memo == nullptr) return APIERR_BADPARS;
    std::memset(static_cast<void*>(memo), 0, sizeof *memo);
    if (CurrentDatabaseType() == APIWind_3DModelID)
        return Refuse(APIERR_BADDATABASE, "memos are not read in the 3D model's database");
    const StoredElement* e = FindHere(guid);
    if (e == nullptr) return Refuse(APIERR_BADID, "no element " + GuidText(guid) + " here");
    return WriteApiMemo(e->memo, mask, memo);
}

GSErrCode ProjectMemos::GetUserData(const API_Elem_Head& head, API_ElementUserData* userData) const {
    if (userData == nullptr) return APIERR_BADPARS;
    std::memset(static_cast<void*>(userData), 0, sizeof *userData);
    if (CurrentDatabaseType() == APIWind_3DModelID)
        return Refuse(APIERR_BADDATABASE, "user data is not read in the 3D model's database");
    const StoredElement* e = FindHere(head.guid);
    if (e == nullptr) return Refuse(APIERR_BADID, "no element " + GuidText(head.guid) + " here");
    if (!e->userData) return NoError;
    GSHandle h = BMAllocateHandle(GSSize(e->userData->bytes.size()), 0, 0);
    if (h == nullptr) return Refuse(APIERR_MEMFULL, "no memory for the user data");
    e->userData->bytes.CopyTo(*h);
    userData->dataVersion = e->userData->dataVersion;
    userData->platformSign = e->userData->platformSign;
    userData->flags = e->userData->flags;
    userData->dataHdl = h;
    return NoError;
}

GSErrCode ProjectMemos::SetUserData(const API_Elem_Head& head, const API_ElementUserData& userData) {
    GSErrCode err = CheckModelChange();
    if (err != NoError) return err;
    StoredElement* e = FindMutable(head.guid);
    if (e == nullptr || !VisibleHere(*e)) return Refuse(APIERR_BADID, "no element " + GuidText(head.guid) + " here");
    if (!LayerUsable(e->record.header.layer, true)) return Refuse(APIERR_LOCKEDLAYER, "the element's layer is locked");
    StoredUserData u;
    u.dataVersion = userData.dataVersion;
    u.platformSign = userData.platformSign;
    u.flags = userData.flags;
    if (userData.dataHdl != nullptr) u.bytes.assign(*userData.dataHdl, size_t(BMGetHandleSize(userData.dataHdl)));
    e->userData = std::move(u);
    e->record.header.userDataVersion = userData.dataVersion;
    e->record.header.modiStamp = int64_t(++changes_);
    Changed();
    return NoError;
}

GSErrCode ProjectMemos::DeleteUserData(const API_Elem_Head& head) {
    GSErrCode err = CheckModelChange();
    if (err != NoError) return err;
    StoredElement* e = FindMutable(head.guid);
    if (e == nullptr || !VisibleHere(*e)) return Refuse(APIERR_BADID, "no element " + GuidText(head.guid) + " here");
    if (!LayerUsable(e->record.header.layer, true)) return Refuse(APIERR_LOCKEDLAYER, "the element's layer is locked");
    if (!e->userData) return NoError;
    e->userData.reset();
    e->record.header.userDataVersion = 0;
    e->record.header.modiStamp = int64_t(++changes_);
    Changed();
    return NoError;
}
