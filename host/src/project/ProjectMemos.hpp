#pragma once
// An element's memo and user data. In the 3D model's database they are neither read nor written; writing user
// data is a model change. The handles handed out belong to the receiver.
#include "project/ProjectCore.hpp"

class ProjectMemos : public virtual ProjectCore {
public:
    GSErrCode GetMemo(const API_Guid& guid, API_ElementMemo* memo, uint64_t mask) const;
    GSErrCode GetUserData(const API_Elem_Head& head, API_ElementUserData* userData) const;
    GSErrCode SetUserData(const API_Elem_Head& head, const API_ElementUserData& userData);
    GSErrCode DeleteUserData(const API_Elem_Head& head);
};
