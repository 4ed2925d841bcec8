#include "foundation/ElemNeig.hpp"

#include <cstring>

bool ElemHeadToNeig(API_Neig* neig, const API_Elem_Head* head) {
    if (neig == nullptr) return false;
    std::memset(static_cast<void*>(neig), 0, sizeof *neig);
    if (head == nullptr) return false;
    const API_NeigID id = APINeigIDOfElemType(head->typeID);
    if (id == APINeig_None) return false;
    neig->neigID = id;
    neig->guid = head->guid;
    neig->flags = APINeigFlg_Whole;
    return true;
}
