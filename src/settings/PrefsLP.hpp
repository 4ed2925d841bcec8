#pragma once
// The preferences library part "VY_PREFS" and its view. The tools' defaults persist in two places: the library
// part, whose default parameters name every persisted setting, and the mirror file (settings/PrefsFile.hpp),
// which holds a copy of that parameter list with the values last saved. The library part itself is never
// changed: only the copy of its parameter list that the host hands out is edited, and released afterwards.
#include "settings/PrefsView.hpp"

class Settings;

class PrefsLP : public PrefsView {
public:
    // When the tool palette opens: the mirror file laid over the library part's parameters, then the
    // parameters into `settings` (the preference sections, then the values the preferences do not carry). A
    // missing library part or mirror file, or a file that does not match the part, gives the built-in defaults
    // instead; a section that fails gives its record the built-in defaults. Either way every layer field then
    // takes the layer of the host's default mesh (1 when it cannot be read). Reports nothing; true when the
    // preferences were loaded, false when the built-in defaults were set. `refused`, when given, tells whether the
    // host refused a read on the way (the part's search or parameters, the default font or mesh), which the caller
    // reports. A null `settings` does nothing.
    static bool LoadAtStart(Settings* settings, bool* refused = nullptr);

    // `settings` into the library part's parameter list (in memory), then that list into the mirror file. The
    // part is looked for as any add-on part (the library folder may be asked for). Any failure shows error 49
    // ("Error while managing settings.") and leaves the mirror file as it was. True on success.
    static bool Save(Settings* settings);

    // The library part's own values into the mirror file and into `settings`, the sections stopping at the
    // first that fails (the earlier ones keep what they read). A missing part, a file that cannot be written or
    // a failing section shows error 49 once. True on success.
    static bool Reload(Settings* settings);
};
