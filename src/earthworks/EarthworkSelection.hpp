#pragma once
// What the road, the railway and the section share when placed ones are edited: the settings read back from the
// first selected object, and the command flow around the settings dialog.
#include "earthworks/EarthworkSet.hpp"
#include "elements/BaseLP.hpp"
#include "elements/ChangeMask.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/StoryHelpers.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Alert.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/Encoding.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "settings/ElementSections.hpp"

#include "APIElements.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>

// Reads `settings` from the first of `placed` (its parameters, layer, pen and information text) through a view
// of kind `kind`; false when there is none or its parameters cannot be read. The name is empty when the host cannot
// tell it, unless the edit may write the name shown onto the objects (`nameWritten`): then the read fails, as that
// empty name would wipe their own.
template <class View, class Settings>
bool ReadSetSettings(const QV_List<API_Element>& placed, int32_t kind, Settings& settings, bool nameWritten = false) {
    settings.Reset();
    if (placed.GetCount() == 0) return false;
    const API_Element& first = placed[0];
    API_ElementMemo memo = {};
    if (ACAPI_Element_GetMemo(first.header.guid, &memo, AttachMemoMask) != NoError || memo.params == nullptr) {
        ACAPI_DisposeElemMemoHdls(&memo);
        return false;
    }
    View view(kind);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    const bool ok = SerializeSettings(view, settings, 0);
    view.Detach();
    ACAPI_DisposeElemMemoHdls(&memo);
    if (!ok) return false;
    settings.layer = int16_t(first.header.layer);
    settings.pen = first.object.pen;
    settings.name = QV_String("");
    return ReadElementInfoString(first.header.guid, settings.name) || !nameWritten;
}

// Rewrites one placed object of a set: its own settings are read, `copy(own)` takes the edited fields in, the
// interface language is stamped into `languageParam` (none when negative), and the host changes the object under
// `mask`. Each object keeps its own name unless `newName` is given. False on any failure.
template <class View, class Settings, class Copy>
bool RewriteObjectSettings(API_Element& object, int32_t kind, const QV_String* newName, Copy copy,
                           int32_t languageParam, const API_Element& mask) {
    API_ElementMemo memo = {};
    if (ACAPI_Element_GetMemo(object.header.guid, &memo, AttachMemoMask) != NoError || memo.params == nullptr) {
        ACAPI_DisposeElemMemoHdls(&memo);
        return false;
    }
    if (newName != nullptr) {
        QV_String name = *newName;
        SetMemoInfoString(memo, name);
    }
    View view(kind);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    Settings own;
    int32_t language = LanguageIndex + 1;
    bool ok = SerializeSettings(view, own, 0);
    copy(own);
    ok = ok && SerializeSettings(view, own, 1);
    if (languageParam >= 0) ok = ok && view.GetSetInt(languageParam, language, LPMode_Set);
    memo.params = reinterpret_cast<API_AddParType**>(view.params);
    view.Detach();
    GS::Array<API_Guid> one;
    one.Push(object.header.guid);
    ok = ok && ACAPI_Element_ChangeParameters(one, &object, &memo, &mask) == NoError;
    ACAPI_DisposeElemMemoHdls(&memo);
    return ok;
}

// Reads one placed object's settings (reset first) and its name; false when its parameters or its name cannot be
// read (an edit may write the name shown onto the objects: an empty one would wipe theirs).
template <class View, class Settings>
bool ReadObjectSettings(const API_Element& object, int32_t kind, Settings& settings) {
    API_ElementMemo memo = {};
    if (ACAPI_Element_GetMemo(object.header.guid, &memo, AttachMemoMask) != NoError || memo.params == nullptr) {
        ACAPI_DisposeElemMemoHdls(&memo);
        return false;
    }
    settings.Reset();
    View view(kind);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    const bool ok = SerializeSettings(view, settings, 0);
    view.Detach();
    ACAPI_DisposeElemMemoHdls(&memo);
    return ReadElementInfoString(object.header.guid, settings.name) && ok;
}

// The road's and railway's form: the fields flagged in `changed` come from `edited`, the name when the flag of
// `nameField` is set.
template <class View, class Settings, class Flags>
bool RewriteChangedSettings(API_Element& object, int32_t kind, const Flags& changed, int16_t nameField,
                            const Settings& edited, const API_Element& mask) {
    return RewriteObjectSettings<View, Settings>(
        object, kind, changed[nameField] != 0 ? &edited.name : nullptr,
        [&](Settings& own) { CopyChangedFields(changed, own, edited); }, RoadParam::Language, mask);
}

// Edits placed sets from the plan database (switched to from the 3D window and back): `read` their settings,
// `runDialog` and `apply` as one undoable command, taken back whole when `apply` fails. 0 when done or cancelled,
// 43 on failures, 42 when the plan database cannot be reached, 57 when the host will not clear the selection (the
// edit is not begun). `deselectInPlan` also clears the plan's selection after the switch.
inline int32_t ModifyEarthworkSelection(const std::function<bool()>& read,
                                        const std::function<DialogAnswer()>& runDialog,
                                        const std::function<bool()>& apply, bool deselectInPlan = true) {
    if (ACAPI_Element_DeselectAll() != NoError) return ErrSelectedElement;
    const bool in3D = IsCurrentWindow3D();
    if (in3D) {
        if (MakeWindowDatabaseCurrent(APIWind_FloorPlanID) != NoError) return ErrDatabase;
        if (deselectInPlan && ACAPI_Element_DeselectAll() != NoError) {
            MakeWindowDatabaseCurrent(APIWind_3DModelID);
            return ErrSelectedElement;
        }
    }
    const auto back = [&] {
        if (in3D) MakeWindowDatabaseCurrent(APIWind_3DModelID);
    };
    if (!read()) {
        back();
        return ErrModifying;
    }
    if (runDialog() == DialogAnswer::Cancelled) {
        RebuildCurrentWindow(in3D, true, 0);
        return 0;
    }
    // An edit that fails on one object is taken back on all of them; one refused with its reason is told already.
    const int told = WarningsShown();
    const bool ok = RunWholeCommand(apply);
    back();
    if (!ok) return WarningsShown() != told ? 0 : ErrModifying;
    if (in3D) ACAPI_Automate(APIDo_RebuildID, nullptr, nullptr);
    return 0;
}
