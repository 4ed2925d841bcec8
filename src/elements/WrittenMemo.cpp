#include "elements/WrittenMemo.hpp"

#include "elements/ElementHelpers.hpp"
#include "elements/ModelUpdate.hpp"

bool EndMemoWriting(API_ElementMemo& memo, BaseLP& view, bool written) {
    memo.params = reinterpret_cast<API_AddParType**>(view.params);
    view.Detach();
    if (!written) DisposeElemMemo(memo);
    return written;
}

bool CreateFlaggedObject(API_Element& object, API_ElementMemo& memo) {
    const ElementWriting writing;
    const bool created = CreateElementWithMemo(&object, &memo, true) == NoError;
    if (!created) writing.NoneMade();
    return created;
}
