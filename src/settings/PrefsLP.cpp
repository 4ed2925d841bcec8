#include "settings/PrefsLP.hpp"

#include "elements/TextFonts.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "settings/PrefsEntries.hpp"
#include "settings/PrefsFile.hpp"
#include "settings/PrefsSections.hpp"
#include "settings/Settings.hpp"

#include "APIElements.hpp"

#include <cstring>

namespace {

constexpr const char* kPartName = "VY_PREFS";

// The library part's default parameter list, released when this goes.
class PartParams {
public:
    PartParams() = default;
    PartParams(const PartParams&) = delete;
    PartParams& operator=(const PartParams&) = delete;
    ~PartParams() { ReleaseParamRecords(&handle); }

    bool Read(int32_t libIndex) {
        return libIndex > 0 && BaseLP::GetLibPartParams(libIndex, &handle, nullptr, nullptr, nullptr);
    }

    GSHandle handle = nullptr;
};

// The view over a parameter list: names compared exactly, as the library part spells them.
struct PartView : PrefsLP {
    explicit PartView(GSHandle params) { Attach(params, true); }
};

QV_String DefaultTextFont(bool& refused) {
    API_FontType font = {};
    if (!GetTextDefaultRecord(&font)) {
        refused = true;
        return QV_String("");
    }
    return QV_String(font.head.name, uint32_t(strnlen(font.head.name, sizeof font.head.name)), Encoding_UTF8);
}

int16_t DefaultMeshLayer(bool& refused) {
    API_Element mesh = {};
    mesh.header.typeID = API_MeshID;
    if (ACAPI_Element_GetDefaults(&mesh, nullptr) != NoError) {
        refused = true;
        return 1;
    }
    return int16_t(mesh.header.layer);
}

bool FindPart(int32_t& libIndex) {
    return FindLibPartOrAsk(QV_String(kPartName), libIndex, false, QV_String(), APILib_ObjectID);
}

// Runs the sections in order; the first that fails ends the run.
bool RunSections(PrefsLP& view, Settings& settings, int32_t direction) {
    for (int32_t order = 0; order < PrefsSectionCount; ++order)
        if (!RunPrefsSection(order, view, settings, direction)) return false;
    return true;
}

}  // namespace

bool PrefsLP::LoadAtStart(Settings* settings, bool* refused) {
    if (settings == nullptr) return false;
    Settings& s = *settings;
    bool hostRefused = false;
    s.contour.altitude.SetDefaults();
    const QV_String font = DefaultTextFont(hostRefused);

    bool loaded = false;
    PartParams params;
    int32_t libIndex = -1;
    const LibPartLookup lookup = LookUpLibPart(QV_String(kPartName), APILib_ObjectID, libIndex);
    if (lookup == LibPartLookup::Refused) hostRefused = true;
    if (lookup == LibPartLookup::Found && libIndex > 0 && !params.Read(libIndex)) hostRefused = true;
    if (params.handle != nullptr) {
        PrefsEntryList entries;
        if (ReadPrefsFile(entries, GetPrefsFilePath(), true) && ApplyPrefsEntriesToParams(entries, params.handle)) {
            PartView view(params.handle);
            // A record whose parameters cannot all be read would keep whatever it held (nothing, on the first
            // opening): it takes its built-in defaults instead.
            for (int32_t order = 0; order < PrefsSectionCount; ++order)
                if (!RunPrefsSection(order, view, s, 0)) SetPrefsSectionDefaults(order, s, font);
            s.SetAfterLoadValues();
            loaded = true;
        }
    }
    if (!loaded) s.SetBuiltInDefaults(font);
    s.SetLayerFields(DefaultMeshLayer(hostRefused));
    if (refused != nullptr) *refused = hostRefused;
    return loaded;
}

bool PrefsLP::Save(Settings* settings) {
    int32_t libIndex = -1;
    PartParams params;
    bool ok = settings != nullptr && FindPart(libIndex) && params.Read(libIndex);
    if (ok) {
        PartView view(params.handle);
        ok = RunSections(view, *settings, 1);
    }
    if (ok) {
        PrefsEntryList entries;
        ok = ParamsToPrefsEntries(entries, params.handle, true) && WritePrefsFile(entries, GetPrefsFilePath());
    }
    if (!ok) ShowErrorMessage(ErrSettings, AlertKind::Error);
    return ok;
}

bool PrefsLP::Reload(Settings* settings) {
    int32_t libIndex = -1;
    PartParams params;
    bool ok = settings != nullptr && FindPart(libIndex) && params.Read(libIndex);
    if (ok) {
        // The file is written before the sections run, so it holds the part's values even when one fails; a
        // file that cannot be written is a failure the user must hear of.
        PrefsEntryList entries;
        const bool written =
            ParamsToPrefsEntries(entries, params.handle, true) && WritePrefsFile(entries, GetPrefsFilePath());
        PartView view(params.handle);
        ok = RunSections(view, *settings, 0) && written;
    }
    if (!ok) ShowErrorMessage(ErrSettings, AlertKind::Error);
    return ok;
}
